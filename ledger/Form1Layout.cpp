// The controls of Form1 and their places, as designed: positions in twips
// (left, top, width, height), colours, fonts and tab indexes.
#include "Form1.h"

#include "AmountColours.h"
#include "PickerDateField.h"

namespace arc {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

FontDesc Arial(double pt) { return {L"Arial", pt}; }
FontDesc ArialUnicode(double pt, bool bold = false, bool italic = false) {
    return {L"Arial Unicode MS", pt, bold, italic};
}

}  // namespace

std::vector<ControlDesc> Form1::Layout() {
    using enum Id;
    using K = ControlKind;
    const auto grid = [this](HWND parent, const Place& twips, const TwipsScale& scale) {
        grid_.Create(parent, twips, scale, FontDesc{L"MS Sans Serif", 8.25, true}, Arial(12));
        return grid_.Hwnd();
    };
    return {
        // Directly on the window, top to bottom.
        {.id = Label7, .place = {120, 100, 4215, 255}, .text = L"Label7", .font = Arial(9), .fore = kRed, .tab = 12},
        {.id = Label9, .place = {12480, 0, 735, 255}, .text = L"Configurar", .fore = RGB(192, 192, 192),
         .align = Align::Right, .tab = 19},
        {.id = Frame1, .kind = K::Panel, .place = {9960, 240, 3255, 1695}, .text = L"Configurando...",
         .font = ArialUnicode(12), .fore = RGB(192, 0, 0), .back = RGB(107, 173, 226), .tab = 20, .visible = false},
        {.id = Label6, .place = {4560, 120, 1935, 255}, .text = L"Fecha de operación", .font = Arial(9.75), .fore = kBlue,
         .tab = 11},
        {.id = Label4, .place = {6600, 120, 1575, 255}, .text = L"Ingreso", .font = Arial(9.75), .fore = kIncomeColour,
         .align = Align::Center, .tab = 9},
        {.id = Label3, .place = {8400, 120, 1575, 255}, .text = L"Egreso", .font = Arial(9.75), .fore = kExpenseColour,
         .align = Align::Center, .tab = 8},
        {.id = Command1, .kind = K::Button, .place = {120, 360, 3975, 495}, .text = L"Generar Informe",
         .font = ArialUnicode(12, true), .tab = 4},
        {.id = FECHAR, .kind = K::Custom, .place = {4560, 360, 1935, 495}, .tab = 16, .make = PickerDateFieldMaker(fechar_, host_)},
        {.id = Text1, .kind = K::TextBox, .place = {6600, 360, 1575, 495}, .font = Arial(15.75), .fore = RGB(0, 192, 0),
         .align = Align::Center, .tab = 0},
        {.id = Text2, .kind = K::TextBox, .place = {8400, 360, 1575, 495}, .font = Arial(15.75), .fore = kRed,
         .align = Align::Center, .tab = 1},
        {.id = Command2, .kind = K::Button, .place = {10080, 360, 3135, 495}, .text = L"Registrar", .font = Arial(12),
         .tab = 3},
        {.id = Label1, .place = {120, 960, 1935, 255}, .text = L"Desde", .font = Arial(9.75), .fore = kRed, .tab = 5},
        {.id = Label2, .place = {2160, 960, 1935, 255}, .text = L"Hasta", .font = Arial(9.75), .fore = kBlue, .tab = 6},
        {.id = Label5, .place = {4560, 960, 8655, 255}, .text = L"Descripción o concepto", .font = Arial(9.75),
         .fore = kBlue, .tab = 10},
        {.id = DESDE, .kind = K::Custom, .place = {120, 1200, 1935, 495}, .tab = 17, .make = PickerDateFieldMaker(desde_, host_)},
        {.id = HASTA, .kind = K::Custom, .place = {2160, 1200, 1935, 495}, .tab = 18, .make = PickerDateFieldMaker(hasta_, host_)},
        {.id = Text3, .kind = K::MultiLineTextBox, .place = {4560, 1200, 8655, 1095}, .font = Arial(15.75),
         .fore = kBlack, .tab = 2},
        {.id = Label11, .place = {120, 1800, 3975, 375}, .text = kRegistrando, .font = ArialUnicode(12, true, true),
         .fore = kBlue, .tab = 25},
        {.id = DataGrid1, .kind = K::Custom, .place = {120, 2400, 13095, 6135}, .tab = 7, .make = grid,
         .wrapper = &grid_},
        {.id = Command4, .kind = K::Button, .place = {120, 8640, 3135, 495}, .text = L"Modificar Registro",
         .font = ArialUnicode(12, true), .tab = 14},
        {.id = Command7, .kind = K::Button, .place = {5160, 8640, 3135, 495}, .text = L"Cancelar",
         .font = ArialUnicode(12, true), .tab = 26},
        {.id = Command3, .kind = K::Button, .place = {10080, 8640, 3135, 495}, .text = L"Eliminar Registro",
         .font = ArialUnicode(12, true), .tab = 13},

        // The configuration panel, places relative to Frame1.
        {.id = Label13, .place = {0, 0, 3255, 255}, .text = L" Configurando...", .font = ArialUnicode(9.75, true, true),
         .fore = RGB(255, 255, 255), .back = RGB(29, 95, 192), .tab = 29, .parent = Frame1},
        {.id = Command5, .kind = K::Button, .place = {3000, 0, 255, 270}, .text = L"X", .font = ArialUnicode(9.75, true),
         .tab = 21, .parent = Frame1},
        {.id = Label12, .place = {120, 360, 2775, 255}, .text = L"Nombre de la Entidad", .fore = kBlack, .tab = 28,
         .parent = Frame1},
        {.id = Text5, .kind = K::TextBox, .place = {120, 600, 3015, 285}, .text = L"Bramevol", .align = Align::Center,
         .tab = 27, .parent = Frame1, .tooltip = L"Escriba un nombre de Identidad"},
        {.id = Label10, .place = {120, 960, 1455, 255}, .text = L"Unidad de Backup", .fore = kBlack, .tab = 23,
         .parent = Frame1},
        {.id = Text4, .kind = K::TextBox, .place = {120, 1200, 495, 285}, .text = L"D", .align = Align::Center, .tab = 22,
         .parent = Frame1, .tooltip = L"Indique una unidad donde se guardará la copia de seguridad"},
        {.id = Command6, .kind = K::Button, .place = {1920, 1200, 1215, 375}, .text = L"Guardar",
         .font = ArialUnicode(12, true), .tab = 24, .parent = Frame1, .tooltip = L"Guarda la configuración"},
    };
}

}  // namespace arc
