#include "layout/control_table.h"

#include <algorithm>
#include <array>

namespace brivana::layout {

namespace {

constexpr FontSpec sans(double points, Weight weight = Weight::normal, Slant slant = Slant::upright)
{
    return {Face::msSansSerif, points, weight, slant};
}
constexpr FontSpec arial(double points, Weight weight) { return {Face::arial, points, weight, Slant::upright}; }
constexpr FontSpec arialBlack(double points, Weight weight) { return {Face::arialBlack, points, weight, Slant::upright}; }
constexpr FontSpec times(double points, Weight weight) { return {Face::timesNewRoman, points, weight, Slant::upright}; }
constexpr FontSpec noFont{};

constexpr auto bold = Weight::bold;
constexpr auto normal = Weight::normal;
constexpr auto italic = Slant::italic;

constexpr std::optional<Rgb> systemText;   // the platform's colour for control text
constexpr std::optional<Rgb> transparent;  // labels: the painted background shows through
constexpr std::optional<Rgb> platform;     // buttons: the platform's button colour
constexpr Rgb cyan{0, 255, 255};
constexpr Rgb yellow{255, 255, 0};
constexpr Rgb green{0, 128, 0};
constexpr Rgb lightGreen{0, 192, 0};
constexpr Rgb magenta{192, 0, 192};
constexpr Rgb blue{0, 0, 255};
constexpr Rgb red{255, 0, 0};

constexpr auto framed = Frame::single;
constexpr auto unframed = Frame::none;
constexpr auto left = Align::left;
constexpr auto centred = Align::centred;
constexpr auto fits = Fit::fitsText;
constexpr auto keeps = Fit::keepsRect;
constexpr auto visible = Shown::visible;
constexpr auto hidden = Shown::hidden;
constexpr auto enabled = Enabled::yes;
constexpr auto disabled = Enabled::no;
constexpr auto windowPointer = Pointer::window;
constexpr auto iconPointer = Pointer::icon;

// clang-format off
constexpr std::array kControls{
//  name          kind                     caption            Left    Top  Width Height
//    font                    text         back         frame      align    fit    tooltip
//    shown    enabled   pointer        picture  accessible name
ControlSpec{"Timer1", Kind::timer, "", 8520, 120, 0, 0,
      noFont, systemText, platform, unframed, left, keeps, "",
      hidden, enabled, windowPointer, "", ""},
ControlSpec{"txtAnswer", Kind::textBox, "", 9240, 120, 2415, 1200,
      arial(48, bold), systemText, cyan, framed, left, keeps, "Inserisci il risultato e  premi il tasto  Invio",
      visible, enabled, windowPointer, "", "Risposta"},
ControlSpec{"cmdNext", Kind::graphicalButton, "&Nuovo calcolo", 2520, 5280, 1815, 1095,
      sans(8.25, bold), systemText, cyan, framed, centred, keeps, "Go",
      visible, disabled, iconPointer, "next", "Nuovo calcolo"},
ControlSpec{"cmdExit", Kind::graphicalButton, "E&xit", 7680, 5280, 1815, 1095,
      sans(8.25, bold), systemText, magenta, framed, centred, keeps,
      "Ti prego resta ancora, forse riuscirai a farmi uscire ",
      visible, enabled, windowPointer, "exit", "Esci dal gioco"},
ControlSpec{"Command1", Kind::button, "Command1", 3000, 5640, 855, 615,
      sans(8.25, normal), systemText, platform, framed, centred, keeps, "",
      visible, enabled, windowPointer, "", "Pulsante senza funzione"},
ControlSpec{"Label11", Kind::label, "Tempo restante", 1080, 1920, 1575, 375,
      sans(9.75, normal), yellow, transparent, unframed, left, keeps, "",
      visible, enabled, windowPointer, "", "Titolo del tempo restante"},
ControlSpec{"lblconto", Kind::label, "00.00.00", 1080, 2400, 1575, 495,
      arialBlack(12, bold), yellow, transparent, framed, left, keeps, "",
      visible, enabled, windowPointer, "", "Tempo restante"},
ControlSpec{"Label14", Kind::label, "Sfidante", 240, 6360, 1425, 420,
      sans(13.5, normal), green, transparent, framed, centred, fits, "",
      visible, enabled, windowPointer, "", "Sfidante"},
ControlSpec{"Label13", Kind::label, "con punti", 8520, 7440, 1455, 435,
      sans(18, normal), magenta, transparent, unframed, left, fits, "",
      visible, enabled, windowPointer, "", "con punti"},
ControlSpec{"lblpunti", Kind::label, "0", 10320, 7320, 270, 555,
      sans(24, normal), magenta, transparent, unframed, left, fits, "",
      visible, enabled, windowPointer, "", "Punti del record"},
ControlSpec{"Label12", Kind::label, "Il record  è di ", 1080, 7440, 2295, 375,
      sans(18, normal), magenta, transparent, unframed, left, keeps, "",
      visible, enabled, windowPointer, "", "Il record è di"},
ControlSpec{"lblnome1", Kind::label, "", 360, 6960, 105, 360,
      sans(13.5, bold), green, transparent, unframed, left, fits, "",
      visible, enabled, windowPointer, "", "Nome dello sfidante"},
ControlSpec{"lblnome", Kind::label, "nome", 3480, 7440, 990, 435,
      sans(18, bold), blue, transparent, unframed, left, fits, "",
      visible, enabled, windowPointer, "", "Detentore del record"},
ControlSpec{"Label10", Kind::label, ")", 9720, 1800, 495, 1575,
      arial(72, bold), red, transparent, unframed, left, keeps, "",
      hidden, enabled, windowPointer, "", ""},
ControlSpec{"Label9", Kind::label, "(", 9720, 1440, 495, 1575,
      arial(72, bold), red, transparent, unframed, left, keeps, "",
      hidden, enabled, windowPointer, "", ""},
ControlSpec{"lblnum5", Kind::label, "", 9720, 1800, 330, 1185,
      arial(48, bold), systemText, cyan, framed, left, fits, "",
      hidden, enabled, windowPointer, "", ""},
ControlSpec{"Label7", Kind::label, ")", 6960, -120, 615, 1815,
      arial(72, bold), red, transparent, unframed, left, keeps, "",
      visible, enabled, windowPointer, "", "Parentesi chiusa"},
ControlSpec{"Label5", Kind::label, "(", 4800, -120, 495, 1695,
      arial(72, bold), red, transparent, unframed, left, keeps, "",
      visible, enabled, windowPointer, "", "Parentesi aperta"},
ControlSpec{"Label3", Kind::label, "Risposte totali", 7440, 3360, 2340, 495,
      sans(18, normal), blue, transparent, framed, left, fits, "",
      visible, enabled, windowPointer, "", "Risposte totali"},
ControlSpec{"Label1", Kind::label, "Risposte errate", 3840, 3360, 2520, 495,
      sans(18, normal), red, transparent, framed, left, fits, "",
      visible, enabled, windowPointer, "", "Risposte errate"},
ControlSpec{"lblScore2", Kind::label, "0", 8310, 4080, 555, 885,
      times(36, bold), blue, transparent, framed, centred, fits, "",
      visible, enabled, windowPointer, "", "Risposte totali"},
ControlSpec{"lblScore1", Kind::label, "0", 4830, 4080, 540, 885,
      times(36, bold), red, transparent, framed, centred, fits, "",
      visible, enabled, windowPointer, "", "Risposte errate"},
ControlSpec{"Image1", Kind::image, "", 360, 2400, 480, 480,
      noFont, systemText, transparent, unframed, left, keeps, "Clicca sotto di me per impostare il Timer",
      visible, enabled, windowPointer, "clock", "Orologio"},
ControlSpec{"lblTime", Kind::label, "", 8400, 1800, 90, 300,
      sans(12, bold), systemText, transparent, unframed, left, fits, "Clicca sotto di me per attivare il Timer",
      visible, enabled, windowPointer, "", ""},
ControlSpec{"lblNum2", Kind::label, "", 6000, 240, 345, 1305,
      arial(48, bold), systemText, cyan, framed, centred, fits, "",
      visible, enabled, windowPointer, "", "Secondo fattore"},
ControlSpec{"Label4", Kind::label, "=", 8400, 240, 615, 975,
      arial(48, bold), red, transparent, unframed, centred, keeps, "",
      visible, enabled, windowPointer, "", "Uguale"},
ControlSpec{"Label2", Kind::label, "X", 3120, 360, 615, 975,
      arial(48, normal), red, transparent, unframed, centred, keeps, "",
      visible, enabled, windowPointer, "", "Per"},
ControlSpec{"lblNum1", Kind::label, "", 1320, 240, 345, 1305,
      arial(48, bold), systemText, cyan, framed, centred, fits, "",
      visible, enabled, windowPointer, "", "Primo fattore"},
ControlSpec{"lblScore", Kind::label, "0", 1080, 4080, 555, 885,
      times(36, bold), cyan, transparent, framed, centred, fits, "Questo è il tuo punteggio. Forza con il  record",
      visible, enabled, windowPointer, "", "Risposte esatte"},
ControlSpec{"lblMessage", Kind::label, "", 2640, 2040, 9495, 615,
      sans(24, bold, italic), red, transparent, unframed, centred, keeps, "",
      visible, enabled, iconPointer, "", "Esito della risposta"},
ControlSpec{"Label6", Kind::label, "Risposte esatte", 240, 3360, 2565, 495,
      sans(18, normal), lightGreen, transparent, framed, centred, fits, "",
      visible, enabled, windowPointer, "", "Risposte esatte"},
};
// clang-format on

}  // namespace

std::string_view FaceName(Face face)
{
    switch (face) {
    case Face::msSansSerif: return "MS Sans Serif";
    case Face::arial: return "Arial";
    case Face::arialBlack: return "Arial Black";
    case Face::timesNewRoman: return "Times New Roman";
    case Face::none: break;
    }
    return "MS Sans Serif";
}

std::string ShownLines(std::string_view caption)
{
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '\r' && i + 1 < caption.size() && caption[i + 1] == '\n') continue;
        shown += caption[i] == '\r' ? '\n' : caption[i];
    }
    return shown;
}

std::span<const ControlSpec> Controls() { return kControls; }

const ControlSpec* FindControl(std::string_view name)
{
    const auto found = std::ranges::find(kControls, name, &ControlSpec::name);
    return found == kControls.end() ? nullptr : &*found;
}

}  // namespace brivana::layout
