#include "SupportPictures.h"

#include "DrawingPainter.h"
#include "PartDrawings.h"
#include "SymbolDrawings.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace orv::demo {
namespace {

const char* const kFontFamily = "Noto Sans CJK SC";

QFont Font(int pixels, bool bold = false)
{
    QFont font(kFontFamily);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

DrawingDescription Part(
    const std::string& shape, std::initializer_list<std::pair<const char*, double>> numbers)
{
    PartValues values;
    for (const auto& [name, value] : numbers)
        values.Numbers[name] = value;
    DrawingDescription drawing;
    std::string error;
    DrawPart(shape, values, drawing, error);
    return drawing;
}

bool Save(const QImage& image, const QString& path, const char* format, std::string& error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path, format);
    if (writer.write(image))
        return true;
    error = "cannot write " + path.toStdString() + ": " + writer.errorString().toStdString();
    return false;
}

// A gear outline: the emblem of the logo and the icons.
QPainterPath Gear(QPointF centre, double outer, double inner, int teeth)
{
    QPainterPath path;
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < teeth * 4; ++i) {
        double a = 2 * pi * i / (teeth * 4);
        double r = (i % 4 == 1 || i % 4 == 2) ? outer : inner;
        QPointF p(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    path.addEllipse(centre, inner * 0.42, inner * 0.42);
    return path;
}

QImage Splash(const std::string& version)
{
    QImage image(480, 300, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(0x0b, 0x2a, 0x4a));
    sky.setColorAt(1, QColor(0x1f, 0x5f, 0x99));
    p.fillRect(image.rect(), sky);
    PaintStyle faint;
    faint.outline = QColor(0xbf, 0xd9, 0xf2);
    faint.monochrome = true;
    faint.lineWidth = 1.0;
    faint.texts = false;
    p.setOpacity(0.55);
    PaintDrawing(p,
        Part("plateflange",
            { { "D", 220 }, { "K", 180 }, { "L", 18 }, { "n", 8 }, { "C", 22 }, { "A", 114.3 },
                { "B", 115.3 } }),
        QRectF(250, 20, 215, 150), faint);
    PaintDrawing(p,
        Part("hexbolt", { { "d", 16 }, { "l", 80 }, { "k", 10 }, { "s", 24 }, { "b", 38 }, { "P", 2 } }),
        QRectF(270, 175, 190, 70), faint);
    p.setOpacity(1.0);
    p.setPen(Qt::white);
    p.setFont(Font(30, true));
    p.drawText(QPointF(28, 118), QStringLiteral("Orv机电工程师手册"));
    p.setPen(QColor(0xd6, 0xe6, 0xf5));
    p.setFont(Font(15));
    p.drawText(QPointF(30, 150), QStringLiteral("机械零件 · 电气符号  演示图库"));
    p.setFont(Font(13));
    p.drawText(QPointF(30, 176), QStringLiteral("Linux 版   版本 ") + QString::fromStdString(version));
    p.setPen(QColor(0xff, 0xb3, 0x47));
    p.fillRect(QRectF(30, 190, 120, 3), QColor(0xff, 0xb3, 0x47));
    p.setPen(QColor(0xa8, 0xc4, 0xe0));
    p.setFont(Font(11));
    p.drawText(QPointF(30, 278), QStringLiteral("演示数据由 ORVBook 项目生成，尺寸仅供参考"));
    p.setPen(QColor(0x5f, 0x8f, 0xbf));
    p.drawRect(QRectF(0.5, 0.5, 479, 299));
    return image;
}

QImage Logo()
{
    QImage image(200, 42, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, 0, 42);
    back.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    back.setColorAt(1, QColor(0xd9, 0xe3, 0xee));
    p.fillRect(image.rect(), back);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.drawPath(Gear(QPointF(24, 21), 16, 12.5, 10));
    p.setPen(QColor(0x1f, 0x4e, 0x79));
    p.setFont(Font(20, true));
    p.drawText(QPointF(48, 28), QStringLiteral("Orv"));
    p.setPen(QColor(0x44, 0x44, 0x44));
    p.setFont(Font(14));
    p.drawText(QPointF(94, 28), QStringLiteral("工程师手册"));
    return image;
}

QImage ToolbarBack()
{
    QImage image(256, 42, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient back(0, 0, 0, 42);
    back.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    back.setColorAt(1, QColor(0xd9, 0xe3, 0xee));
    p.fillRect(image.rect(), back);
    p.setPen(QColor(0xb5, 0xc7, 0xd9));
    p.drawLine(0, 41, 255, 41);
    return image;
}

QImage ToolIcon(bool menu)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (menu) {
        p.setPen(QPen(QColor(0x1f, 0x4e, 0x79), 1.5));
        p.setBrush(QColor(0xfa, 0xfc, 0xff));
        p.drawRoundedRect(QRectF(3.5, 3.5, 25, 25), 3, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe0, 0x7b, 0x00));
        for (int i = 0; i < 4; ++i)
            p.drawRect(QRectF(8, 8.5 + i * 5, 16, 2.5));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1f, 0x4e, 0x79));
        p.drawPath(Gear(QPointF(16, 16), 15, 11.5, 8));
        p.setBrush(QColor(0xe0, 0x7b, 0x00));
        p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
    }
    return image;
}

// A picture for the home page: a drawing on white with a caption strip.
QImage HomePicture(const DrawingDescription& drawing, const QString& caption)
{
    QImage image(260, 170, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PaintStyle style;
    style.lineWidth = 1.2;
    style.texts = false;
    PaintDrawing(p, drawing, QRectF(12, 10, 236, 124), style);
    p.fillRect(QRectF(0, 142, 260, 28), QColor(0x1f, 0x4e, 0x79));
    p.setPen(Qt::white);
    p.setFont(Font(14));
    p.drawText(QRectF(0, 142, 260, 28), Qt::AlignCenter, caption);
    return image;
}

} // namespace

bool WriteSupportPictures(const std::string& appFolder, const std::string& version, std::string& error)
{
    QString support = QString::fromStdString(appFolder) + "/Support/";
    return Save(Splash(version), support + "StartUp.bmp", "bmp", error)
        && Save(Logo(), support + "logo.bmp", "bmp", error)
        && Save(ToolbarBack(), support + "TBBack.bmp", "bmp", error)
        && Save(ToolIcon(false), support + "DemoTool.ico", "ico", error)
        && Save(ToolIcon(true), support + "DemoMenu.ico", "ico", error);
}

bool WriteHomePagePictures(const std::string& appFolder, std::string& error)
{
    QString home = QString::fromStdString(appFolder) + "/HomePage/";
    DrawingDescription bearing = Part("ballbearing", { { "d", 30 }, { "D", 62 }, { "B", 16 } });
    DrawingDescription motor;
    std::string ignored;
    DrawSymbol("motor", "", motor, ignored);
    return Save(HomePicture(bearing, QStringLiteral("机械零件图库")), home + "mech.png", "png", error)
        && Save(HomePicture(motor, QStringLiteral("电气符号图库")), home + "elec.png", "png", error);
}

} // namespace orv::demo
