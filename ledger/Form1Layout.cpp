// The controls of Form1 and their places, as designed: positions in twips
// (left, top, width, height), colours, fonts and focus order.
#include "Form1.h"

#include "PickerDateField.h"

#include "platform/window/Twips.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace arc {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kSilver = RGB(192, 192, 192);

FontDesc Arial(double pt, bool bold = false, bool italic = false) { return {L"Arial", pt, bold, italic}; }
FontDesc ArialUnicode(double pt, bool bold = false, bool italic = false) {
    return {L"Arial Unicode MS", pt, bold, italic};
}
const FontDesc kDefaultFont{L"MS Sans Serif", 8.25};

using K = ControlKind;

std::vector<ControlDesc> Form1Controls() {
    std::vector<ControlDesc> c;
    auto add = [&](ControlDesc s) { c.push_back(std::move(s)); };
    // Directly on the window, top to bottom.
    add({K::Label, L"Label7", 120, 100, 4215, 255, L"Label7", Arial(9), kRed, kNoColour, Align::Left, 12});
    add({K::Label, L"Label9", 12480, 0, 735, 255, L"Configurar", kDefaultFont, kSilver, kNoColour, Align::Right, 19,
         Form1::kLabel9});
    add({K::Panel, L"Frame1", 9960, 240, 3255, 1695, L"Configurando...", ArialUnicode(12), RGB(192, 0, 0),
         RGB(107, 173, 226), Align::Left, 20, Form1::kFrame1, L"", false});
    add({K::Label, L"Label6", 4560, 120, 1935, 255, L"Fecha de operación", Arial(9.75), kBlue, kNoColour,
         Align::Left, 11});
    add({K::Label, L"Label4", 6600, 120, 1575, 255, L"Ingreso", Arial(9.75), RGB(0, 128, 0), kNoColour,
         Align::Center, 9});
    add({K::Label, L"Label3", 8400, 120, 1575, 255, L"Egreso", Arial(9.75), kRed, kNoColour, Align::Center, 8});
    add({K::Button, L"Command1", 120, 360, 3975, 495, L"Generar Informe", ArialUnicode(12, true), kNoColour,
         kNoColour, Align::Center, 4, Form1::kCommand1});
    add({K::TextBox, L"Text1", 6600, 360, 1575, 495, L"", Arial(15.75), RGB(0, 192, 0), kNoColour, Align::Center, 0,
         Form1::kText1});
    add({K::TextBox, L"Text2", 8400, 360, 1575, 495, L"", Arial(15.75), kRed, kNoColour, Align::Center, 1,
         Form1::kText2});
    add({K::Button, L"Command2", 10080, 360, 3135, 495, L"Registrar", Arial(12), kNoColour, kNoColour, Align::Center,
         3, Form1::kCommand2});
    add({K::Label, L"Label1", 120, 960, 1935, 255, L"Desde", Arial(9.75), kRed, kNoColour, Align::Left, 5});
    add({K::Label, L"Label2", 2160, 960, 1935, 255, L"Hasta", Arial(9.75), kBlue, kNoColour, Align::Left, 6});
    add({K::Label, L"Label5", 4560, 960, 8655, 255, L"Descripción o concepto", Arial(9.75), kBlue, kNoColour,
         Align::Left, 10});
    add({K::MultiLineTextBox, L"Text3", 4560, 1200, 8655, 1095, L"", Arial(15.75), RGB(0, 0, 0), kNoColour,
         Align::Left, 2, Form1::kText3});
    add({K::Label, L"Label11", 120, 1800, 3975, 375, Form1::kRegistrando, ArialUnicode(12, true, true), kBlue,
         kNoColour, Align::Left, 25});
    add({K::Button, L"Command4", 120, 8640, 3135, 495, L"Modificar Registro", ArialUnicode(12, true), kNoColour,
         kNoColour, Align::Center, 14, Form1::kCommand4});
    add({K::Button, L"Command7", 5160, 8640, 3135, 495, L"Cancelar", ArialUnicode(12, true), kNoColour, kNoColour,
         Align::Center, 26, Form1::kCommand7});
    add({K::Button, L"Command3", 10080, 8640, 3135, 495, L"Eliminar Registro", ArialUnicode(12, true), kNoColour,
         kNoColour, Align::Center, 13, Form1::kCommand3});

    // The configuration panel, places relative to Frame1.
    auto panel = [&](ControlDesc s) {
        s.parent = L"Frame1";
        add(std::move(s));
    };
    panel({K::Label, L"Label13", 0, 0, 3255, 255, L" Configurando...", ArialUnicode(9.75, true, true),
           RGB(255, 255, 255), RGB(29, 95, 192), Align::Left, 29});
    panel({K::Button, L"Command5", 3000, 0, 255, 270, L"X", ArialUnicode(9.75, true), kNoColour, kNoColour,
           Align::Center, 21, Form1::kCommand5});
    panel({K::Label, L"Label12", 120, 360, 2775, 255, L"Nombre de la Entidad", kDefaultFont, RGB(0, 0, 0), kNoColour,
           Align::Left, 28});
    ControlDesc text5{K::TextBox, L"Text5", 120, 600, 3015, 285, L"Bramevol", kDefaultFont, kNoColour, kNoColour,
                      Align::Center, 27, Form1::kText5};
    text5.tooltip = L"Escriba un nombre de Identidad";
    panel(text5);
    panel({K::Label, L"Label10", 120, 960, 1455, 255, L"Unidad de Backup", kDefaultFont, RGB(0, 0, 0), kNoColour,
           Align::Left, 23});
    ControlDesc text4{K::TextBox, L"Text4", 120, 1200, 495, 285, L"D", kDefaultFont, kNoColour, kNoColour,
                      Align::Center, 22, Form1::kText4};
    text4.tooltip = L"Indique una unidad donde se guardará la copia de seguridad";
    panel(text4);
    ControlDesc command6{K::Button, L"Command6", 1920, 1200, 1215, 375, L"Guardar", ArialUnicode(12, true), kNoColour,
                         kNoColour, Align::Center, 24, Form1::kCommand6};
    command6.tooltip = L"Guarda la configuración";
    panel(command6);
    return c;
}

}  // namespace

void Form1::CreateControls() {
    const int dpiX = ScreenDpiX(), dpiY = ScreenDpiY();
    const std::vector<ControlDesc> layout = Form1Controls();
    controls_.Create(Hwnd(), layout, dpiX, dpiY);

    DateFieldFactory make = options_.makeDateField;
    if (!make)
        make = [dpiX, dpiY](HWND parent, int left, int top, int width, int height, Host& host) {
            return MakePickerDateField(parent, TwipsToPixels(left, dpiX), TwipsToPixels(top, dpiY), width, height,
                                       host);
        };
    fechar_ = make(Hwnd(), 4560, 360, 1935, 495, host_);
    desde_ = make(Hwnd(), 120, 1200, 1935, 495, host_);
    hasta_ = make(Hwnd(), 2160, 1200, 1935, 495, host_);
    if (!fechar_ || !desde_ || !hasta_) throw RuntimeError(kErrInvalidProcedureCall, L"No se pudo crear un campo de fecha");

    grid_.Create(Hwnd(), kDataGrid1, 120, 2400, 13095, 6135, FontDesc{L"MS Sans Serif", 8.25, true}, Arial(12));
    grid_.OnClick = [this] { DataGrid1_Click(); };
    grid_.OnKeyPress = [this](wchar_t key) { DataGrid1_KeyPress(key); };

    // Focus order: the window's direct children in the order of their tab
    // index, which is the order Tab walks them.
    std::vector<std::pair<int, HWND>> order;
    for (const auto& desc : layout)
        if (desc.parent.empty()) order.emplace_back(desc.tabIndex, controls_.Get(desc.name));
    order.emplace_back(7, grid_.Hwnd());
    order.emplace_back(16, fechar_->Hwnd());
    order.emplace_back(17, desde_->Hwnd());
    order.emplace_back(18, hasta_->Hwnd());
    std::stable_sort(order.begin(), order.end());
    for (const auto& [tab, hwnd] : order)
        if (hwnd) SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The panel lies over Command2 and Text3 when shown, so it stays on top.
    SetWindowPos(controls_.Get(L"Frame1"), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace arc
