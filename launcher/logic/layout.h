// The bar's fixed layout in twips: the window, the button table and the two controls that serve
// the magnification.
#pragma once

#include <QString>
#include <array>
#include <cmath>

namespace switchboard {

inline const QString kProgramTitle = QStringLiteral("switchboard");

constexpr int kTwipsPerPixel = 15;

// Twips to whole pixels, halves to the even neighbour.
inline int pixels(double twips) { return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel)); }

// The window keeps the outer size of a small framed window around its 4770 x 1950 client area;
// ShapeWindow cuts that frame away, so only the client area ever shows.
constexpr int kClientWidth = 4770;
constexpr int kClientHeight = 1950;
constexpr int kFrameBorder = 75;
constexpr int kFrameCaption = 240;
constexpr int kWindowWidth = kClientWidth + 2 * kFrameBorder;                // 4920
constexpr int kWindowHeight = kClientHeight + kFrameCaption + kFrameBorder;  // 2265

// A control's place, fields in the order ButtonHome keeps them.
struct TwipRect {
  int top = 0;
  int left = 0;
  int height = 0;
  int width = 0;
  bool operator==(const TwipRect&) const = default;
};

constexpr int kButtonCount = 8;
constexpr int kButtonTop = 1440;
constexpr int kButtonSize = 360;

struct ButtonSpec {
  const char* caption;
  const char* program;
  int left;
};

inline constexpr std::array<ButtonSpec, kButtonCount> kButtons = {{
    {"About Box", "palu32.exe", 480},
    {"Assignments", "mirek32.exe", 960},
    {"Global", "tavin32.exe", 1440},
    {"Inventory", "corbel32.exe", 1920},
    {"Login", "quess32.exe", 2400},
    {"Projects", "runel32.exe", 2880},
    {"Quality", "sivra32.exe", 3360},
    {"Schedules", "dastel32.exe", 3840},
}};

using Layout = std::array<TwipRect, kButtonCount>;

// Every button at its laid-out place.
Layout homeLayout();

constexpr TwipRect kBackdrop{105, 120, 495, 4410};  // Image2
constexpr int kCaptionTop = 600;                    // Label2
constexpr int kCaptionWidth = 1155;
constexpr int kCaptionHeight = 210;

// The program a button starts: the folder text directly followed by the file name, so a folder
// without its final separator glues the two together.
QString programPath(const QString& suiteFolder, int button);

}  // namespace switchboard
