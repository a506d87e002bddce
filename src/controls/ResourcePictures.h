#pragma once
// The program's pictures by the resource numbers the dialogs and lists name them by: icons
// (toolbar, tabs, windows, lists) and bitmaps (message pictures, logo, splash). All of them
// are SVG drawings of our own in resources/, drawn at the size asked for.

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace orv {

// Icon resources.
enum IconId : int {
    kIconApp = 128, // the main window's icon
    kIconMessage = 185, // message and information dialogs
    kIconAddinDefault = 188, // an add-in button without an icon file of its own
    kIconGallery = 184, // a gallery row of the gallery information list
    kIconTabContents = 138,
    kIconTabIndex = 139,
    kIconTabSearch = 135,
    kIconTabBookmarks = 136,
};

// Bitmap resources.
enum BitmapId : int {
    kBitmapQuestion = 207,
    kBitmapWarning = 208,
    kBitmapInformation = 209,
    kBitmapLogo = 228, // 200 x 42, when AppPath\support\logo.bmp is missing
    kBitmapSplash = 197, // 480 x 300, when AppPath\Support\StartUp.bmp is missing
};

// The 16 toolbar icons, image list order: information, navigation, search, previous page,
// next page, back, forward, split, single page, whole page, options, home, mail, help, exit,
// zoom (icon resources 145, 146, 147, 148, 151, 152, 155, 222, 223, 231, 156, 157, 158, 163,
// 166, 232).
constexpr int kToolbarImageCount = 16;
QIcon ToolbarImage(int index);

// The contents tree's image list: 0 speciality (green closed book), 1 and 2 DirType 0 (blue
// book closed, open), 3 and 4 DirType 1 (page, page with lines), 5 and 6 DirType 2 (page "fx",
// highlighted), 7 and 8 DirType 3 (drawing sheet, highlighted). Null for another index.
constexpr int kTreeImageCount = 9;
QIcon TreeImage(int index);

// Null for an unknown number.
QIcon ResourceIcon(int iconId);
// The bitmap at its own size (size empty) or at size; null for an unknown number.
QPixmap ResourceBitmap(int bitmapId, QSize size = QSize());

} // namespace orv
