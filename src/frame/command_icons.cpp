#include "frame/command_icons.h"

#include "settings/command_ids.h"
#include "frame/command_table.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace parchly {

namespace {

const QColor kInk(40, 40, 60);
const QColor kPaper(250, 250, 240);
const QColor kBlue(40, 90, 190);
const QColor kGreen(30, 140, 60);

// A sheet of paper with a folded corner and a few text lines.
void drawPage(QPainter& p, const QRectF& r)
{
    QPolygonF sheet({r.topLeft(), QPointF(r.right() - 3, r.top()), QPointF(r.right(), r.top() + 3),
                     r.bottomRight(), r.bottomLeft()});
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawPolygon(sheet);
    for (qreal y = r.top() + 4; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void drawArrow(QPainter& p, bool right, const QColor& colour)
{
    QPolygonF arrow({{2, 6}, {8, 6}, {8, 2}, {14, 7.5}, {8, 13}, {8, 9}, {2, 9}});
    if (!right)
        for (QPointF& point : arrow)
            point.setX(16 - point.x());
    p.setPen(kInk);
    p.setBrush(colour);
    p.drawPolygon(arrow);
}

void drawMagnifier(QPainter& p)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(200, 225, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 8, 8));
    p.setPen(QPen(kInk, 2.5));
    p.drawLine(QPointF(8.5, 8.5), QPointF(14, 13.5));
}

void drawPrinter(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(170, 170, 180));
    p.drawRect(QRectF(1.5, 6.5, 13, 5));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 10.5, 7, 3.5));
}

void drawBand(QPainter& p, bool top)
{
    drawPage(p, QRectF(2.5, 0.5, 11, 14));
    p.fillRect(QRectF(3, top ? 1 : 11, 10, 3), kBlue);
}

void drawPicture(QPainter& p, int id)
{
    switch (id) {
    case kCmdOpenRfcIndex:
        p.setPen(kInk);
        p.setBrush(QColor(180, 60, 50));
        p.drawRect(QRectF(2.5, 0.5, 11, 14));
        p.setBrush(kPaper);
        p.drawRect(QRectF(5.5, 3.5, 6, 3));
        break;
    case kCmdFileOpen:
        p.setPen(kInk);
        p.setBrush(QColor(230, 190, 80));
        p.drawPolygon(QPolygonF({{0.5, 3.5}, {5.5, 3.5}, {7, 5}, {14.5, 5}, {14.5, 13.5}, {0.5, 13.5}}));
        p.setBrush(QColor(250, 215, 110));
        p.drawPolygon(QPolygonF({{2.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {0.5, 13.5}}));
        break;
    case kCmdCopy:
        drawPage(p, QRectF(0.5, 0.5, 9, 10));
        drawPage(p, QRectF(5.5, 4.5, 9, 10));
        break;
    case kCmdPrint:
        drawPrinter(p);
        break;
    case kCmdPrintPreview:
        drawPage(p, QRectF(0.5, 0.5, 10, 14));
        drawMagnifier(p);
        break;
    case kCmdOptions:
        p.setPen(QPen(kInk, 2));
        for (int i = 0; i < 4; ++i) {
            p.save();
            p.translate(8, 7.5);
            p.rotate(45 * i);
            p.drawLine(QPointF(0, -7), QPointF(0, 7));
            p.restore();
        }
        p.setBrush(QColor(150, 150, 160));
        p.drawEllipse(QPointF(8, 7.5), 4, 4);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(8, 7.5), 1.5, 1.5);
        break;
    case kCmdAbout:
        p.setPen(kInk);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(0.5, 0.5, 14, 14));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(7.5, 6.5), QPointF(7.5, 11.5));
        p.drawPoint(QPointF(7.5, 3.5));
        break;
    case kCmdFind:
        drawMagnifier(p);
        break;
    case kCmdFindNext:
        drawMagnifier(p);
        p.setPen(kGreen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({{10, 1}, {15, 1}, {12.5, 5}}));
        break;
    case kCmdGoto:
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(2, 1), QPointF(2, 14));
        drawArrow(p, true, kGreen);
        break;
    case kCmdGoBack:
        drawArrow(p, false, kGreen);
        break;
    case kCmdGoForward:
        drawArrow(p, true, kGreen);
        break;
    case kCmdStructure:
        p.setPen(kInk);
        p.drawLine(QPointF(3.5, 3), QPointF(3.5, 12.5));
        p.drawLine(QPointF(3.5, 7.5), QPointF(7, 7.5));
        p.drawLine(QPointF(3.5, 12.5), QPointF(7, 12.5));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 0.5, 5, 3));
        p.drawRect(QRectF(7.5, 6, 7, 3));
        p.drawRect(QRectF(7.5, 11, 7, 3));
        break;
    case kCmdPage:
        drawPage(p, QRectF(2.5, 0.5, 11, 14));
        break;
    case kCmdHeaders:
        drawBand(p, true);
        break;
    case kCmdFooters:
        drawBand(p, false);
        break;
    case kCmdPageSeparators:
        // The end of one page and the top of the next on paper, the break
        // between them in colour: each stands out on a light bar and on a
        // dark one alike.
        p.setPen(QPen(kBlue, 1.5, Qt::DashLine));
        p.drawLine(QPointF(0, 7.5), QPointF(16, 7.5));
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(QRectF(2.5, 0.5, 11, 4));
        p.drawRect(QRectF(2.5, 10.5, 11, 4));
        break;
    case kCmdNavigator:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(QRectF(0.5, 0.5, 15, 14));
        p.setBrush(kBlue);
        p.drawRect(QRectF(0.5, 0.5, 5, 14));
        break;
    default:
        break;
    }
}

} // namespace

QIcon commandIcon(int id)
{
    const CommandInfo* info = findCommand(id);
    if (!info || !info->themeIcon)
        return QIcon();
    QPixmap picture(16, 15);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        drawPicture(painter, id);
    }
    return QIcon::fromTheme(QString::fromLatin1(info->themeIcon), QIcon(picture));
}

QIcon programIcon()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(2, 2);
    drawPage(painter, QRectF(2.5, 0.5, 11, 15));
    painter.setPen(QPen(QColor(180, 60, 50), 1.5));
    painter.drawLine(QPointF(4.5, 2.5), QPointF(11.5, 2.5));
    painter.end();
    return QIcon(picture);
}

} // namespace parchly
