// msgbox.cpp: MessageBoxA, modal, with the test as the user.
//
// While the box is up its owner is disabled (clicks on it are dropped) and
// the box's own loop takes and dispatches the thread's messages, WM_PAINT of
// the owner included. After the hold time the responder answers; the owner
// is enabled again before the box goes, and gets the activation back.
//
// The box is a window owned by the owner: when the owner is destroyed while
// the box is up (a WM_CLOSE sent from a scheduled call, say), the box is
// destroyed with it, its loop ends and MessageBoxA returns 0, as a box that
// ends without a button returns. A WM_QUIT taken by the box's loop is posted
// again for the program's own loop and ends the box the same way.
#include "winsim/internal.h"

using namespace winsim::detail;

namespace winsim {

void SetMessageBoxResponder(std::function<int(const MessageBoxCall&)> responder)
{
    detail::M().responder = std::move(responder);
}

void SetMessageBoxHoldTime(DWORD ms) { detail::M().boxHoldTime = ms; }

const std::vector<MessageBoxCall>& MessageBoxes() { return detail::M().boxes; }

void ClearMessageBoxes()
{
    detail::M().boxes.clear();
    ++detail::M().boxesCleared;
}

}  // namespace winsim

namespace {

int DefaultAnswer(UINT type)
{
    return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

enum class BoxEnd { Answered, OwnerGone, Quit };

// The box's modal loop: dispatches what arrives until the hold time is over.
BoxEnd RunBoxLoop(HWND owner, std::uint64_t until)
{
    for (;;) {
        if (owner && !FindWindow(owner)) return BoxEnd::OwnerGone;
        if (M().now >= until) return BoxEnd::Answered;
        MSG msg;
        Take t = TakeMessage(&msg, until);
        if (t == Take::Blocked) M().now = until;   // nothing more can come: the user answers
        if (t != Take::Message) continue;
        if (msg.message == WM_QUIT) {
            M().quitPosted = true;
            M().quitPostedCode = static_cast<int>(msg.wParam);
            return BoxEnd::Quit;
        }
        Dispatch(msg);
    }
}

}  // namespace

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    std::string text = lpText ? lpText : "";
    std::string caption = lpCaption ? lpCaption : "Error";
    std::size_t call = BeginCall("MessageBoxA", {static_cast<std::intptr_t>(Value(hWnd)), static_cast<std::intptr_t>(uType)},
                                 JoinStrings(text, caption));
    if (hWnd != nullptr && !FindWindow(hWnd)) return static_cast<int>(EndCall(call, 0));   // an invalid owner

    std::size_t index = M().boxes.size();
    const std::uint64_t cleared = M().boxesCleared;
    winsim::MessageBoxCall asked{hWnd, text, caption, uType, static_cast<DWORD>(M().now), 0};
    M().boxes.push_back(asked);
    // Box handles are not kept anywhere, so they simply go round their range.
    HWND box = MakeHandle<HWND>(AllocateHandle(M().nextBox, kBoxBase, [](std::uintptr_t) { return false; }));

    // Only an owner that was enabled is disabled, and only it is enabled again.
    bool disabled = false;
    if (hWnd) {
        disabled = !Enable(hWnd, FALSE);
        Deactivate(hWnd, box);
    }
    BoxEnd end = RunBoxLoop(hWnd, M().now + M().boxHoldTime);
    int answer = 0;
    if (end == BoxEnd::Answered) {
        answer = M().responder ? M().responder(asked) : DefaultAnswer(uType);
    }
    if (hWnd && FindWindow(hWnd)) {
        if (disabled) Enable(hWnd, TRUE);
        Activate(hWnd, box);
    }
    if (M().boxesCleared == cleared) M().boxes[index].answer = answer;
    return static_cast<int>(EndCall(call, answer));
}
