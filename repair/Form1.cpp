#include "Form1.h"

namespace arc::repair {

Form1::Form1(Host& host, std::function<void()> onEnd) : Form(host), onEnd_(std::move(onEnd)) {
    On(Id::Command1, Event::Click, [this] { Command1_Click(); });
    OnMessage(WM_DESTROY, [this] {
        ending_ = true;
        if (onEnd_) onEnd_();
    });
}

bool Form1::Create() {
    using enum Id;
    const FormDesc desc{.className = L"CorvelanForm1", .caption = L"Repara y compacta BD", .width = 8355,
                        .height = 1200, .icon = 1,
                        .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN};
    return Form::Create(desc, {
        {.id = Command1, .kind = ControlKind::Button, .place = {6960, 120, 1335, 375}, .text = L"... Explorar",
         .font = {L"MS Sans Serif", 8.25, true}, .tab = 0},
        {.id = Label2, .place = {120, 720, 8055, 255}, .text = L"Preparando...", .font = {L"MS Sans Serif", 9.75, true},
         .fore = kStatusText, .back = kStatusBlue, .tab = 1, .visible = false},
        {.id = Label1, .place = {120, 120, 7215, 495}, .tab = 2},
    });
}

void Form1::OnUnhandledError(const RuntimeError& error) {
    Form::OnUnhandledError(error);
    EndProgram();
}

void Form1::EndProgram() {
    // All windows close and no further event of this window runs; what
    // follows (the end of the message loop) is onEnd_'s matter.
    if (Hwnd() && !ending_) DestroyWindow(Hwnd());
}

}  // namespace arc::repair
