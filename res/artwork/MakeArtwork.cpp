// Draws the tool's icon and banner (626 x 77) and saves them in the folder
// given on the command line (res/): for the Linux desktop the icon as SVG and
// as PNG files in seven sizes, laid out as the hicolor icon theme lays them
// out (icons/hicolor/<size>/apps/), whose 48 x 48 one the Qt dialog takes as
// its window icon; the banner as PNG for the Qt dialog; for the Windows
// executable the icon as an ICO file in four sizes (16, 32, 48, 256) and the
// banner as a 24-bit BMP file.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <cstdio>

namespace {

const QColor kNavy{0x0b, 0x2a, 0x4a};
const QColor kTeal{0x13, 0x7c, 0x8f};
const QColor kAmber{0xff, 0xb3, 0x2e};

// A chip with pins and a lightning bolt across it, filling `box`.
void drawEmblem(QPainter& p, const QRectF& box) {
    const qreal s = box.width() / 48.0;
    p.save();
    p.translate(box.topLeft());
    p.scale(s, s);

    QLinearGradient back(0, 0, 48, 48);
    back.setColorAt(0, kTeal);
    back.setColorAt(1, kNavy);
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(1, 1, 46, 46), 9, 9);

    // The chip body and its pins.
    p.setBrush(QColor(255, 255, 255, 235));
    for (int i = 0; i < 4; ++i) {
        const qreal at = 14.5 + i * 6;
        p.drawRect(QRectF(at, 7, 2.5, 5));
        p.drawRect(QRectF(at, 36, 2.5, 5));
        p.drawRect(QRectF(7, at, 5, 2.5));
        p.drawRect(QRectF(36, at, 5, 2.5));
    }
    p.setBrush(QColor(0x1d, 0x3b, 0x5c));
    p.setPen(QPen(QColor(255, 255, 255, 235), 2));
    p.drawRoundedRect(QRectF(12, 12, 24, 24), 3, 3);

    // The bolt: the firmware going in.
    QPainterPath bolt;
    bolt.moveTo(27, 13);
    bolt.lineTo(17, 26);
    bolt.lineTo(23, 26);
    bolt.lineTo(20, 35);
    bolt.lineTo(31, 21);
    bolt.lineTo(25, 21);
    bolt.closeSubpath();
    p.setPen(QPen(kNavy, 0.8));
    p.setBrush(kAmber);
    p.drawPath(bolt);
    p.restore();
}

// The name the desktop knows the tool by (SF_APP_ID of the build): its icon's file name.
const QString kAppId = QStringLiteral(SF_APP_ID);

QImage icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawEmblem(p, QRectF(0, 0, size, size));
    return image;
}

void appendLittleEndian(QByteArray& bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// One image of an ICO file as Windows keeps small icons: a 32-bit BGRA
// bitmap, bottom row first, of twice the height (the colour rows, then the
// AND mask, all zero since the alpha channel carries the shape).
QByteArray iconBitmap(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    const int maskRowBytes = ((size + 31) / 32) * 4;
    QByteArray bytes;
    appendLittleEndian(bytes, 40, 4);  // BITMAPINFOHEADER
    appendLittleEndian(bytes, size, 4);
    appendLittleEndian(bytes, 2 * size, 4);
    appendLittleEndian(bytes, 1, 2);
    appendLittleEndian(bytes, 32, 2);
    appendLittleEndian(bytes, 0, 4);  // uncompressed
    appendLittleEndian(bytes, size * size * 4 + size * maskRowBytes, 4);
    appendLittleEndian(bytes, 0, 16);  // resolution and palette: none
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) appendLittleEndian(bytes, row[x], 4);
    }
    bytes.append(QByteArray(size * maskRowBytes, '\0'));
    return bytes;
}

// The icon in the four sizes Windows asks for; the largest as PNG, as
// Windows keeps it.
bool saveIco(const QString& path) {
    const int sizes[] = {16, 32, 48, 256};
    QList<QByteArray> images;
    for (int size : sizes) {
        if (size < 256) {
            images.append(iconBitmap(icon(size)));
            continue;
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        icon(size).save(&buffer, "PNG");
        images.append(png);
    }
    QByteArray file;
    appendLittleEndian(file, 0, 2);
    appendLittleEndian(file, 1, 2);  // an icon
    appendLittleEndian(file, images.size(), 2);
    quint32 offset = 6 + 16 * images.size();
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = sizes[i];
        file.append(static_cast<char>(size == 256 ? 0 : size));  // 0 stands for 256
        file.append(static_cast<char>(size == 256 ? 0 : size));
        appendLittleEndian(file, 0, 2);  // no palette, reserved
        appendLittleEndian(file, 1, 2);  // planes
        appendLittleEndian(file, 32, 2);
        appendLittleEndian(file, images[i].size(), 4);
        appendLittleEndian(file, offset, 4);
        offset += images[i].size();
    }
    for (const QByteArray& image : images) file.append(image);
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(file) == file.size();
}

// The icon theme's files: the emblem as SVG for any size, and as PNG drawn
// afresh at each size a desktop asks for.
bool saveIconTheme(const QString& res) {
    const QString theme = res + QStringLiteral("/icons/hicolor/");
    const QString scalable = theme + QStringLiteral("scalable/apps/");
    if (!QDir().mkpath(scalable)) return false;
    QByteArray drawing;
    {
        QBuffer buffer(&drawing);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(48, 48));
        svg.setViewBox(QRect(0, 0, 48, 48));
        svg.setTitle(QStringLiteral("Sparrowflasher Maker"));
        QPainter p(&svg);
        p.setRenderHint(QPainter::Antialiasing);
        drawEmblem(p, QRectF(0, 0, 48, 48));
    }
    // The generator gives the size in millimetres; an icon has it in pixels.
    QString text = QString::fromUtf8(drawing);
    text.replace(QRegularExpression(QStringLiteral("width=\"[0-9.]+mm\" height=\"[0-9.]+mm\"")),
                 QStringLiteral("width=\"48\" height=\"48\""));
    QFile svgFile(scalable + kAppId + QStringLiteral(".svg"));
    if (!svgFile.open(QIODevice::WriteOnly) || svgFile.write(text.toUtf8()) < 0) return false;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = theme + QStringLiteral("%1x%1/apps/").arg(size);
        if (!QDir().mkpath(folder) || !icon(size).save(folder + kAppId + QStringLiteral(".png"))) {
            return false;
        }
    }
    return true;
}

QImage banner() {
    QImage image(626, 77, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient back(0, 0, 626, 0);
    back.setColorAt(0, kNavy);
    back.setColorAt(0.7, kTeal);
    back.setColorAt(1, kNavy);
    p.fillRect(image.rect(), back);

    // Faint circuit traces on the right.
    p.setPen(QPen(QColor(255, 255, 255, 40), 1.5));
    for (int i = 0; i < 6; ++i) {
        const int y = 8 + i * 11;
        p.drawLine(QPointF(470 + i * 9, y), QPointF(560, y));
        p.drawLine(QPointF(560, y), QPointF(580, y + 8));
        p.drawEllipse(QPointF(582, y + 9), 2.5, 2.5);
    }
    // The accent line under the name.
    p.fillRect(QRectF(0, 74, 626, 3), kAmber);

    drawEmblem(p, QRectF(6, 4, 38, 38));

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(20);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QPointF(52, 23), QStringLiteral("Sparrowflasher Maker"));
    const qreal nameWidth =
        QFontMetricsF(name).horizontalAdvance(QStringLiteral("Sparrowflasher Maker "));
    p.setPen(kAmber);
    p.drawText(QPointF(52 + nameWidth, 23), QStringLiteral("III"));

    QFont tagline(QStringLiteral("DejaVu Sans"));
    tagline.setPixelSize(10);
    p.setFont(tagline);
    p.setPen(QColor(0xd8, 0xea, 0xf0));
    p.drawText(QPointF(53, 38), QStringLiteral("Firmware update packages for Tavlen USB devices"));
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: MakeArtwork OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QImage strip = banner();
    const bool saved = saveIconTheme(folder) && saveIco(folder + QStringLiteral("/IDI_MAIN.ico")) &&
                       strip.save(folder + QStringLiteral("/IDB_BANNER.png")) &&
                       strip.convertToFormat(QImage::Format_RGB888)
                           .save(folder + QStringLiteral("/IDB_BANNER.bmp"));
    return saved ? 0 : 1;
}
