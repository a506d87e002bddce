#pragma once
// The pictures of the demo application folder, drawn with QPainter (a QGuiApplication must
// exist): the splash screen Support\StartUp.bmp, the logo Support\logo.bmp (200 x 42), the
// toolbar background Support\TBBack.bmp (42 pixels high), the add-in icons and the pictures of
// the home page.

#include <string>

namespace orv::demo {

// Writes into appFolder (native path). False with the reason.
bool WriteSupportPictures(const std::string& appFolder, const std::string& version, std::string& error);
bool WriteHomePagePictures(const std::string& appFolder, std::string& error);

} // namespace orv::demo
