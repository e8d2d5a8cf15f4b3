// The request to switch Japanese on, where the input method is fcitx5: its
// controller on the session bus switches on the input context that has the
// focus, and the Japanese engine (mozc) starts in hiragana. With ibus, with no
// input method or with no session bus, the call goes nowhere, quietly.

#include "uikit/input_method.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>

namespace uikit {

namespace {

class FcitxSwitch final : public InputMethodSwitch {
public:
    void switchOnJapanese(QWidget* /*input*/) override
    {
        QDBusMessage activate = QDBusMessage::createMethodCall(
            QStringLiteral("org.fcitx.Fcitx5"), QStringLiteral("/controller"),
            QStringLiteral("org.fcitx.Fcitx.Controller1"), QStringLiteral("Activate"));
        // fcitx5 leaves a bus activation file behind: the name box must not start
        // fcitx5 for a user who runs another input method.
        activate.setAutoStartService(false);
        // Sent without waiting: where no fcitx5 listens, the bus's error reply
        // is dropped unread.
        QDBusConnection::sessionBus().asyncCall(activate);
    }
};

}  // namespace

InputMethodSwitch& platformInputMethodSwitch()
{
    static FcitxSwitch fcitx;
    return fcitx;
}

}  // namespace uikit
