#include "fileio/file_error.h"

#include <cerrno>

namespace fileio {

namespace {

// The errors that opening, writing, flushing, linking or renaming a list file
// can meet on a local disk, a removable one, a network share or a FUSE mount.
const char* systemReason(int error)
{
    switch (error) {
    case ENOSPC:
        return "ディスクの空きが足りません。";
    case EFBIG:
    case EOVERFLOW:
        return "ファイルが大きすぎます。";
    case EACCES:
    case EPERM:
        return "アクセスが拒否されました。";
    case EROFS:
        return "書き込みのできない場所です。";
    case ENOENT:
    case ENOTDIR:
        return "フォルダが見つかりません。";
    case EISDIR:
        return "同じ名前のフォルダがあります。";
    case EEXIST:
        return "同じ名前のファイルがすでにあります。";
    case ENAMETOOLONG:
        return "ファイル名が長すぎます。";
    case EILSEQ:
        return "ファイル名にこの場所では使えない文字があります。";
    case EINVAL:
        return "この場所ではこのファイル名か操作が使えません。";
    case EOPNOTSUPP:
    case ENOSYS:
        return "この場所では使えない操作です。";
    case ELOOP:
        return "リンクが循環しています。";
    case EIO:
        return "ディスクの読み書きに失敗しました。";
    case ENOMEM:
    case ENOBUFS:
        return "メモリが足りません。";
    case EBUSY:
        return "ファイルかフォルダが使用中です。";
    case ETXTBSY:
        return "実行中のプログラムのファイルです。";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます。";
    case EXDEV:
        return "別のディスクへは移せません。";
    case EMLINK:
        return "リンクの数が上限に達しました。";
    case EINTR:
    case ECANCELED:
        return "操作が中断されました。";
    case EAGAIN:
        return "ファイルが一時的に使えません。しばらくしてからもう一度お試しください。";
    case ENXIO:
    case ENODEV:
        return "装置が見つかりません。";
    case ETIMEDOUT:
        return "応答がないまま時間切れになりました。";
    case ENOTCONN:
    case ECONNABORTED:
    case ECONNRESET:
    case ECONNREFUSED:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ENETRESET:
    case ENOLINK:
        return "ネットワークの接続が切れています。";
#ifdef __linux__
    // Quotas, damaged, removable and network file systems, encrypted folders.
    case EDQUOT:
        return "ディスクの使用量の上限を超えました。";
    case EREMOTEIO:
        return "ディスクの読み書きに失敗しました。";
    case EUCLEAN:
        return "ディスクの内容が壊れています。";
    case ENOMEDIUM:
        return "ドライブにディスクが入っていません。";
    case ESTALE:
        return "ネットワーク上のファイルが見つからなくなりました。";
    case EHOSTDOWN:
        return "ネットワークの接続が切れています。";
    case ENOKEY:
    case EKEYEXPIRED:
    case EKEYREVOKED:
    case EKEYREJECTED:
        return "暗号化されたフォルダの鍵がありません。";
#endif
    default:
        return nullptr;
    }
}

}  // namespace

std::string failureReason(const FileError& error)
{
    switch (error.kind) {
    case FileError::Kind::NotAFile:
        return "通常のファイルではありません。";
    case FileError::Kind::NotANumber:
    case FileError::Kind::CountBelowOne:
        return "九星リストのファイルではありません。";
    case FileError::Kind::TooShort:
        return "ファイルが途中で切れています。";
    case FileError::Kind::OutOfMemory:
        return "メモリが足りません。";
    case FileError::Kind::FolderHoldsNoFiles:
        return "このフォルダにはファイルを保存できません。";
    case FileError::Kind::InUse:
        return "ほかのプログラムが使用中です。";
    case FileError::Kind::OtherSystem:
        return "予期しないエラーが発生しました（Windows のエラー番号 " + std::to_string(error.systemError) + "）。";
    case FileError::Kind::System:
        break;
    }
    if (const char* reason = systemReason(error.systemError)) {
        return reason;
    }
    return "予期しないエラーが発生しました（エラー番号 " + std::to_string(error.systemError) + "）。";
}

}  // namespace fileio
