#include "print/sheet_pages.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>

#include "print/poster.h"

namespace orrimar::print {

namespace {

constexpr double kMargin = 40.0;  // points round the page
constexpr double kBodyPoints = 8.0;
constexpr double kSmallPoints = 7.0;

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

// The worlds' table: its columns and their share of the width.
struct Column {
    const char* title;
    double share;
};
constexpr std::array<Column, 8> kColumns = {{{"World", 0.17},
                                             {"Orbit", 0.07},
                                             {"Kind", 0.15},
                                             {"Size", 0.10},
                                             {"Air", 0.21},
                                             {"Temp.", 0.07},
                                             {"Gravity", 0.08},
                                             {"Life", 0.15}}};

std::array<QString, 8> cellsOf(const sheets::SheetWorld& w) {
    const QString world = w.name.empty() ? text(w.place) : text(w.place) + QStringLiteral(" ") + text(w.name);
    return {world,       text(w.orbit),       text(w.kind),    text(w.size),
            text(w.air), text(w.temperature), text(w.gravity), text(w.life)};
}

// Draws one sheet's lines top to bottom, starting a new page when the next
// block would not fit.
class SheetWriter {
public:
    SheetWriter(QPainter& painter, QSizeF page, const NewPage& newPage)
        : painter_(painter), page_(page), newPage_(newPage), scale_(devicePointScale(painter)) {}

    int pages() const { return pages_; }

    void write(const sheets::SystemSheet& sheet) {
        startPage(sheet, false);
        line(text(sheet.sector.empty() ? std::string() : "Sector " + sheet.sector) + QStringLiteral(" · ") +
                 text(sheet.place) + QStringLiteral(" · age ") + text(sheet.age),
             kBodyPoints, false, 0);
        for (const std::string& extra : sheet.extraLines) line(text(extra), kBodyPoints, false, 0);
        gap(6);
        line(QStringLiteral("Stars"), 10.0, true, 0);
        for (const sheets::SheetStar& star : sheet.stars) {
            line(QStringLiteral("%1  %2, %3: %4")
                     .arg(text(star.letter), text(star.designation), text(star.plainName), text(star.detail)),
                 kBodyPoints, false, 8);
        }
        gap(6);
        line(QStringLiteral("Worlds"), 10.0, true, 0);
        if (sheet.worlds.empty()) {
            line(QStringLiteral("Nothing orbits these stars."), kBodyPoints, false, 8);
            return;
        }
        tableHead(sheet);
        for (const sheets::SheetWorld& w : sheet.worlds) {
            row(sheet, cellsOf(w));
            if (!w.race.empty()) line(QStringLiteral("Native race: ") + text(w.race), kSmallPoints, false, 16, &sheet);
            if (!w.moons.empty()) {
                QString moons = QStringLiteral("Moons: ");
                for (std::size_t m = 0; m < w.moons.size(); ++m) {
                    const sheets::SheetMoon& moon = w.moons[m];
                    if (m > 0) moons += QStringLiteral("; ");
                    moons += text(moon.name) + QStringLiteral(", ") + text(moon.kind);
                    if (!moon.size.empty()) moons += QStringLiteral(" ") + text(moon.size);
                    for (const std::string& extra : moon.extraLines) moons += QStringLiteral(" (") + text(extra) + ')';
                }
                line(moons, kSmallPoints, false, 16, &sheet);
            }
            for (const std::string& extra : w.extraLines) line(text(extra), kSmallPoints, false, 16, &sheet);
        }
    }

private:
    double width() const { return page_.width() - 2 * kMargin; }
    QFont font(double points, bool bold) const {
        QFont f;
        f.setPointSizeF(points * scale_);
        f.setBold(bold);
        return f;
    }

    void startPage(const sheets::SystemSheet& sheet, bool continued) {
        if (pages_ > 0) {
            painter_.restore();
            newPage_();
        }
        ++pages_;
        painter_.save();
        const QPaintDevice* device = painter_.device();
        const double k = device != nullptr ? device->width() / page_.width() : 1.0;
        painter_.resetTransform();
        painter_.scale(k, k);
        painter_.fillRect(QRectF(QPointF(0, 0), page_), Qt::white);
        painter_.setPen(QColor(20, 20, 25));
        y_ = kMargin;
        painter_.setFont(font(15.0, true));
        const QString title = text(sheet.title) + (continued ? QStringLiteral(" (continued)") : QString());
        painter_.drawText(QRectF(kMargin, y_, width(), 20), Qt::AlignLeft | Qt::AlignVCenter, title);
        y_ += 24;
        painter_.setPen(QPen(QColor(120, 120, 130), 0.6));
        painter_.drawLine(QPointF(kMargin, y_ - 3), QPointF(kMargin + width(), y_ - 3));
        painter_.setPen(QColor(20, 20, 25));
        if (continued) tableHead(sheet);
    }

    void ensure(double height, const sheets::SystemSheet* sheet) {
        if (sheet != nullptr && y_ + height > page_.height() - kMargin) startPage(*sheet, true);
    }

    void gap(double points) { y_ += points; }

    void line(const QString& words, double points, bool bold, double indent,
              const sheets::SystemSheet* sheet = nullptr) {
        painter_.setFont(font(points, bold));
        const QRectF box(kMargin + indent, y_, width() - indent, 1000);
        const QRectF need = painter_.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, words);
        ensure(need.height(), sheet);
        painter_.drawText(QRectF(kMargin + indent, y_, width() - indent, need.height() + 1),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, words);
        y_ += need.height() + 1.5;
    }

    void tableHead(const sheets::SystemSheet& sheet) {
        std::array<QString, 8> titles;
        for (std::size_t c = 0; c < kColumns.size(); ++c) titles[c] = QString::fromLatin1(kColumns[c].title);
        row(sheet, titles, true);
        painter_.setPen(QPen(QColor(150, 150, 160), 0.4));
        painter_.drawLine(QPointF(kMargin, y_ - 1), QPointF(kMargin + width(), y_ - 1));
        painter_.setPen(QColor(20, 20, 25));
    }

    void row(const sheets::SystemSheet& sheet, const std::array<QString, 8>& cells, bool bold = false) {
        painter_.setFont(font(kBodyPoints, bold));
        double height = 0;
        std::array<QRectF, 8> boxes;
        double x = kMargin;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const double w = kColumns[c].share * width();
            boxes[c] = QRectF(x, 0, w - 4, 1000);
            height =
                std::max(height, painter_.boundingRect(boxes[c], Qt::AlignLeft | Qt::TextWordWrap, cells[c]).height());
            x += w;
        }
        if (!bold) ensure(height, &sheet);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            boxes[c].moveTop(y_);
            boxes[c].setHeight(height + 1);
            painter_.drawText(boxes[c], Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, cells[c]);
        }
        y_ += height + 2;
    }

    QPainter& painter_;
    QSizeF page_;
    const NewPage& newPage_;
    double scale_;
    double y_ = 0;
    int pages_ = 0;
};

}  // namespace

int paintSheets(QPainter& painter, Paper paper, const std::vector<sheets::SystemSheet>& sheets,
                const NewPage& newPage) {
    SheetWriter writer(painter, paperPoints(paper), newPage);
    for (const sheets::SystemSheet& sheet : sheets) writer.write(sheet);
    if (writer.pages() > 0) painter.restore();
    return writer.pages();
}

void writeSheetsPdf(const std::vector<sheets::SystemSheet>& sheets, Paper paper, const std::string& path) {
    writePdf(path, QPageSize(paperInfo(paper).id), QPageLayout::Portrait, QStringLiteral("System sheets"),
             [&](QPainter& painter, const NewPage& newPage) { paintSheets(painter, paper, sheets, newPage); });
}

}  // namespace orrimar::print
