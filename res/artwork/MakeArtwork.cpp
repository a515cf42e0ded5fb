// Draws the tool's icon (48 x 48) and banner (626 x 77) and saves them in the
// folder given on the command line: PNG files for the dialog and the desktop,
// and the icon once more as an ICO file for the Windows executable.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
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

QImage icon() {
    QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawEmblem(p, QRectF(0, 0, 48, 48));
    return image;
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
    const QImage emblem = icon();
    const bool saved = emblem.save(folder + QStringLiteral("/IDI_MAIN.png")) &&
                       emblem.save(folder + QStringLiteral("/IDI_MAIN.ico")) &&
                       banner().save(folder + QStringLiteral("/IDB_BANNER.png"));
    return saved ? 0 : 1;
}
