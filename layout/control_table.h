#pragma once
// The window's 31 controls as the design gives them, in creation order: one row per control,
// read by both windows (Qt and Win32) each time they build their controls for a game.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace brivana::layout {

enum class Kind { timer, textBox, graphicalButton, button, label, image };

enum class Face { none, msSansSerif, arial, arialBlack, timesNewRoman };
enum class Weight { normal, bold };
enum class Slant { upright, italic };
struct FontSpec {
    Face face = Face::none;
    double points = 0;
    Weight weight = Weight::normal;
    Slant slant = Slant::upright;
};

struct Rgb {
    int red, green, blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class Frame { none, single };
enum class Align { left, centred };
enum class Fit { keepsRect, fitsText };
enum class Shown { visible, hidden };
enum class Enabled { yes, no };
// The window's own pointer, or the stock icon pointer.
enum class Pointer { window, icon };

struct ControlSpec {
    std::string_view name;
    Kind kind;
    std::string_view caption;
    int left, top, width, height;  // twips; a timer has no size
    FontSpec font;
    std::optional<Rgb> text;  // nothing: the system's text colour
    std::optional<Rgb> back;  // nothing: transparent label, or the platform's button colour
    Frame frame;
    Align align;
    Fit fit;
    std::string_view tooltip;
    Shown shown;
    Enabled enabled;
    Pointer pointer;
    std::string_view picture;         // base name of the pictures in the resources, or empty
    std::string_view accessibleName;  // Italian, for screen readers; empty for what shows nothing
};

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 11880;
inline constexpr int kClientHeightTwips = 8310;
// Where the client area's top-left corner stands when the window is first shown, from the
// screen's top-left corner.
inline constexpr int kClientLeftTwips = 2025;
inline constexpr int kClientTopTwips = 1305;
// The answer box takes at most this many characters.
inline constexpr int kAnswerMaxLength = 4;
// The clock ticks once a second.
inline constexpr int kTimerIntervalMs = 1000;

// Tab and Shift+Tab move the focus through these, in this order.
inline constexpr std::array<std::string_view, 4> kTabOrder{"cmdExit", "cmdNext", "txtAnswer", "Command1"};
// The first control in tab order has the focus when a game's window is shown.
inline constexpr std::string_view kFirstFocus = kTabOrder.front();
// Command1 lies wholly inside cmdNext: the button that works is drawn in front of it.
inline constexpr std::string_view kFrontControl = "cmdNext";

// The name of a design face, as the fonts of the platform call it.
std::string_view FaceName(Face face);
// A label shows CR LF, a lone CR and a lone LF each as one line break ("\n").
std::string ShownLines(std::string_view caption);
// A label that keeps its rectangle wraps its text at spaces; one that fits its text never does.
constexpr bool WrapsAtSpaces(Fit fit) { return fit == Fit::keepsRect; }

std::span<const ControlSpec> Controls();
// The row of the named control, or nothing.
const ControlSpec* FindControl(std::string_view name);

}  // namespace brivana::layout
