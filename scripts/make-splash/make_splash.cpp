// Draws Velmor's start-up picture: a kart track seen from above with the title over it.
// Usage: make_splash OUTPUT.jpg
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cstdio>

namespace {

constexpr int Width = 291;
constexpr int Height = 152;

// The track: a rounded loop with a bend, the same path drawn as kerb, tarmac and centre line.
QPainterPath trackPath()
{
    QPainterPath path;
    path.moveTo(60, 40);
    path.cubicTo(140, 18, 230, 20, 258, 52);
    path.cubicTo(282, 82, 250, 128, 196, 126);
    path.cubicTo(150, 124, 150, 96, 112, 100);
    path.cubicTo(70, 104, 52, 134, 30, 112);
    path.cubicTo(8, 88, 20, 52, 60, 40);
    path.closeSubpath();
    return path;
}

void drawGround(QPainter &p)
{
    QLinearGradient grass(0, 0, 0, Height);
    grass.setColorAt(0, QColor(54, 148, 62));
    grass.setColorAt(1, QColor(28, 96, 40));
    p.fillRect(0, 0, Width, Height, grass);
    // Mowing stripes, so the grass reads as a course and not as a green card.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 18));
    for (int x = -Height; x < Width; x += 24)
        p.drawPolygon(QPolygonF{QPointF(x, 0), QPointF(x + 12, 0), QPointF(x + 12 + Height, Height),
                                QPointF(x + Height, Height)});
}

void drawTrack(QPainter &p)
{
    const QPainterPath track = trackPath();
    p.setBrush(Qt::NoBrush);
    // Kerbs: red and white dashes under the tarmac's edge.
    p.setPen(QPen(Qt::white, 26, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(track);
    QPen kerb(QColor(214, 40, 40), 26, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    kerb.setDashPattern({0.4, 0.4});
    p.setPen(kerb);
    p.drawPath(track);
    p.setPen(QPen(QColor(92, 92, 100), 20, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(track);
    QPen centre(QColor(240, 220, 120), 1.5, Qt::DashLine);
    p.setPen(centre);
    p.drawPath(track);

    // The start line: a chequered band across the tarmac on the top straight.
    const int cell = 4;
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 2; ++col) {
            const bool dark = (row + col) % 2 == 0;
            p.fillRect(QRectF(122 + col * cell, 16 + row * cell, cell, cell),
                       dark ? Qt::black : Qt::white);
        }
    }
}

void drawKart(QPainter &p, QPointF at, QColor body)
{
    p.save();
    p.translate(at);
    p.rotate(-8);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const QPointF wheel : {QPointF(-7, -6), QPointF(5, -6), QPointF(-7, 4), QPointF(5, 4)})
        p.drawRoundedRect(QRectF(wheel, QSizeF(5, 3)), 1, 1);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(-8, -4, 17, 8), 3, 3);
    p.setBrush(QColor(250, 210, 160));
    p.drawEllipse(QPointF(-1, 0), 2.6, 2.6);
    p.restore();
}

void drawTitle(QPainter &p)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(44);
    QPainterPath title;
    title.addText(0, 0, font, QStringLiteral("Velmor"));
    const QRectF box = title.boundingRect();
    title.translate((Width - box.width()) / 2 - box.left(), 74 - box.top() - box.height() / 2);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 20, 60), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(title);
    QLinearGradient fill(0, 50, 0, 96);
    fill.setColorAt(0, QColor(255, 236, 90));
    fill.setColorAt(1, QColor(242, 140, 24));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(title);

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setBold(true);
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(QColor(20, 20, 60));
    const QRect line(0, 138, Width, 14);
    p.drawText(line.translated(1, 1), Qt::AlignCenter, QStringLiteral("COURSE EDITOR"));
    p.setPen(Qt::white);
    p.drawText(line, Qt::AlignCenter, QStringLiteral("COURSE EDITOR"));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_splash OUTPUT.jpg\n");
        return 2;
    }
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGround(painter);
    drawTrack(painter);
    drawKart(painter, QPointF(182, 24), QColor(220, 30, 30));
    drawKart(painter, QPointF(206, 124), QColor(30, 90, 220));
    drawTitle(painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]), "JPEG", 90)) {
        std::fprintf(stderr, "make_splash: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
