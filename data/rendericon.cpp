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

template <typename T>
void put(QByteArray &out, T value)
{
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&little), sizeof little);
}

// An ICO file whose images are PNG, as Windows reads them since Vista: a
// header, one directory entry per image, then the images.
QByteArray icoFile(const std::vector<QByteArray> &images, const std::vector<int> &sizes)
{
    constexpr quint32 HeaderBytes = 6;
    constexpr quint32 EntryBytes = 16;
    QByteArray out;
    put<quint16>(out, 0);
    put<quint16>(out, 1);  // icon
    put<quint16>(out, static_cast<quint16>(images.size()));
    quint32 offset = HeaderBytes + EntryBytes * static_cast<quint32>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto side = static_cast<quint8>(sizes[i] >= 256 ? 0 : sizes[i]);  // 0 means 256
        put<quint8>(out, side);
        put<quint8>(out, side);
        put<quint8>(out, 0);  // no palette
        put<quint8>(out, 0);
        put<quint16>(out, 1);  // colour planes
        put<quint16>(out, 32);  // bits per pixel
        put<quint32>(out, static_cast<quint32>(images[i].size()));
        put<quint32>(out, offset);
        offset += static_cast<quint32>(images[i].size());
    }
    for (const QByteArray &image : images)
        out.append(image);
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
    std::vector<int> sizes;
    std::vector<QByteArray> images;
    for (int i = 3; i < argc; ++i) {
        sizes.push_back(QByteArray(argv[i]).toInt());
        images.push_back(png(draw(renderer, sizes.back())));
    }

    if (output.endsWith(QLatin1String(".ico"))) {
        QFile file(output);
        if (!file.open(QIODevice::WriteOnly) || file.write(icoFile(images, sizes)) < 0) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
            return 1;
        }
        return 0;
    }
    const QDir directory(output);
    for (std::size_t i = 0; i < images.size(); ++i) {
        QFile file(directory.filePath(QStringLiteral("icon-%1.png").arg(sizes[i])));
        if (!file.open(QIODevice::WriteOnly) || file.write(images[i]) < 0) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
