// brenvo-icon-export OUT NAME SIZE...: writes Brenvo's icon, drawn once as pixel art in
// resources/BrenvoIcon.h, as an icon theme's files: OUT/hicolor/NxN/apps/NAME.png for every size N
// and OUT/hicolor/scalable/apps/NAME.svg. Runs at build time for the installed icons.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "resources/BrenvoIcon.h"

namespace {
// Pixel art keeps its hard edges when it grows: whole pixels first, then a smooth step down to
// the size asked for (the smooth step also averages the smaller sizes).
QImage Scaled(const QImage& art, int size) {
    QImage image = art;
    if (size > art.width()) {
        const int factor = (size + art.width() - 1) / art.width();
        image = art.scaled(art.width() * factor, art.height() * factor, Qt::IgnoreAspectRatio,
                           Qt::FastTransformation);
    }
    return image.width() == size
               ? image
               : image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// One path per colour, one unit-high rectangle per run of equal pixels in a row. The commonest
// colour first fills the whole shape, so that a renderer that smooths edges shows no seams
// between it and the details drawn over it.
QString Svg(const QImage& art) {
    std::map<QRgb, int> count;
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            count[art.pixel(x, y)] += qAlpha(art.pixel(x, y)) != 0 ? 1 : 0;
        }
    }
    QRgb ground = 0;
    for (const auto& [colour, n] : count) {
        ground = n > count[ground] ? colour : ground;
    }
    // Runs of one colour, or with `ground` runs of any opaque colour.
    std::map<QRgb, QString> paths;
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width();) {
            const QRgb colour = art.pixel(x, y);
            int end = x + 1;
            while (end < art.width() && art.pixel(end, y) == colour) {
                ++end;
            }
            if (qAlpha(colour) != 0 && colour != ground) {
                paths[colour] += QString("M%1 %2h%3v1h-%3z").arg(x).arg(y).arg(end - x);
            }
            x = end;
        }
        for (int x = 0; x < art.width();) {
            int end = x;
            while (end < art.width() && qAlpha(art.pixel(end, y)) != 0) {
                ++end;
            }
            if (end > x) {
                paths[ground] += QString("M%1 %2h%3v1h-%3z").arg(x).arg(y).arg(end - x);
            }
            x = end + 1;
        }
    }
    QString svg = QString(
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                      "viewBox=\"0 0 %1 %2\" shape-rendering=\"crispEdges\">\n")
                      .arg(art.width())
                      .arg(art.height());
    const auto path = [](QRgb colour, const QString& d) {
        return QString("<path fill=\"%1\" d=\"%2\"/>\n").arg(QColor(colour).name(), d);
    };
    svg += path(ground, paths[ground]);
    for (const auto& [colour, d] : paths) {
        svg += colour == ground ? QString() : path(colour, d);
    }
    return svg + "</svg>\n";
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: brenvo-icon-export OUT NAME SIZE...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + "/hicolor/";
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QImage art = QImage(kBrenvoIconXpm).convertToFormat(QImage::Format_ARGB32);
    if (art.isNull()) {
        std::fprintf(stderr, "brenvo-icon-export: the icon does not load\n");
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 1 || size > 1024) {
            std::fprintf(stderr, "brenvo-icon-export: no icon size %s\n", argv[i]);
            return 2;
        }
        const QString path = out + QString("%1x%1/apps/").arg(size) + name + ".png";
        if (!QDir().mkpath(QFileInfo(path).path()) || !Scaled(art, size).save(path, "PNG")) {
            std::fprintf(stderr, "brenvo-icon-export: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString svgPath = out + "scalable/apps/" + name + ".svg";
    if (!Write(svgPath, Svg(art).toUtf8())) {
        std::fprintf(stderr, "brenvo-icon-export: cannot write %s\n", qPrintable(svgPath));
        return 1;
    }
    return 0;
}
