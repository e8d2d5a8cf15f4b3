// The request to switch Japanese on, where the input method is Windows' own:
// the input context of the window that holds the input is opened and set to
// hiragana (native characters, full width), the sentence mode left as the user
// set it. With no Japanese input method installed the window has no input
// context, and nothing happens.
//
// Inputs that keep the input method out (DirectLineEdit) need nothing here:
// they answer the "enabled" query false, and Qt's Windows plugin then takes the
// input context away from the window while they have the focus.

#include "uikit/input_method.h"

#include <QWidget>
#include <QWindow>

#include <windows.h>

#include <imm.h>

namespace uikit {

namespace {

class ImmSwitch final : public InputMethodSwitch {
public:
    void switchOnJapanese(QWidget* input) override
    {
        const QWidget* window = input->window();
        if (window->windowHandle() == nullptr) {
            return;  // never shown: no Windows window, so no input context
        }
        const auto hwnd = reinterpret_cast<HWND>(window->winId());
        const HIMC context = ImmGetContext(hwnd);
        if (context == nullptr) {
            return;
        }
        ImmSetOpenStatus(context, TRUE);
        DWORD conversion = 0;
        DWORD sentence = 0;
        if (ImmGetConversionStatus(context, &conversion, &sentence) != FALSE) {
            // Hiragana: native and full width, neither katakana nor romaji-off.
            conversion = (conversion & ~static_cast<DWORD>(IME_CMODE_KATAKANA)) | IME_CMODE_NATIVE |
                         IME_CMODE_FULLSHAPE;
            ImmSetConversionStatus(context, conversion, sentence);
        }
        ImmReleaseContext(hwnd, context);
    }
};

}  // namespace

InputMethodSwitch& platformInputMethodSwitch()
{
    static ImmSwitch imm;
    return imm;
}

}  // namespace uikit
