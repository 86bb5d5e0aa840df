// Build tool: draws the program's SVG icon at the given sizes, so the window
// and the Windows executable show the same picture as the menu without an
// SVG engine at run time.
//   rendericon ICON.svg OUTPUT_DIR SIZE…   writes OUTPUT_DIR/icon-SIZE.png
//   rendericon ICON.svg OUTPUT.ico SIZE…   writes one Windows icon of all sizes
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>
#include <vector>

namespace {

QImage draw(QSvgRenderer &renderer, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// One size of the icon, encoded as PNG.
struct Drawn {
    int size;
    QByteArray png;
};

template <typename T>
void put(QByteArray &out, T value)
{
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&little), sizeof little);
}

// An ICO file whose images are PNG, as Windows reads them since Vista: a
// header, one directory entry per image, then the images.
QByteArray icoFile(const std::vector<Drawn> &images)
{
    constexpr quint32 HeaderBytes = 6;
    constexpr quint32 EntryBytes = 16;
    QByteArray out;
    put<quint16>(out, 0);
    put<quint16>(out, 1);  // icon
    put<quint16>(out, static_cast<quint16>(images.size()));
    quint32 offset = HeaderBytes + EntryBytes * static_cast<quint32>(images.size());
    for (const Drawn &image : images) {
        const auto side = static_cast<quint8>(image.size >= 256 ? 0 : image.size);  // 0 means 256
        put<quint8>(out, side);
        put<quint8>(out, side);
        put<quint8>(out, 0);  // no palette
        put<quint8>(out, 0);
        put<quint16>(out, 1);  // colour planes
        put<quint16>(out, 32);  // bits per pixel
        put<quint32>(out, static_cast<quint32>(image.png.size()));
        put<quint32>(out, offset);
        offset += static_cast<quint32>(image.png.size());
    }
    for (const Drawn &image : images)
        out.append(image.png);
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s ICON.svg OUTPUT_DIR|OUTPUT.ico SIZE...\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    std::vector<Drawn> images;
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        images.push_back({size, png(draw(renderer, size))});
    }

    if (output.endsWith(QLatin1String(".ico"))) {
        QFile file(output);
        if (!file.open(QIODevice::WriteOnly) || file.write(icoFile(images)) < 0) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
            return 1;
        }
        return 0;
    }
    const QDir directory(output);
    for (const Drawn &image : images) {
        QFile file(directory.filePath(QStringLiteral("icon-%1.png").arg(image.size)));
        if (!file.open(QIODevice::WriteOnly) || file.write(image.png) < 0) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
