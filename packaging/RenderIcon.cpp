// orviconpng SVG SIZE OUT.png: draws the program's SVG icon at one size for the icon theme,
// so the PNG sizes always match the scalable icon.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: orviconpng SVG SIZE OUT.png\n");
        return 1;
    }
    // Drawn off screen: the build needs no display.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const int size = std::atoi(argv[2]);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid() || size < 16 || size > 1024) {
        std::fprintf(stderr, "orviconpng: cannot draw %s at %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "orviconpng: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
