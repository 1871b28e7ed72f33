#include "forms/summary/summaryprint.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <functional>
#include <optional>

namespace quillary {

namespace {

using Style = SummaryRow::Style;

const QColor kQuiet(105, 105, 105);
const QColor kBar(150, 150, 150);

// The sheet's edge stays at least this far from the print, in points.
constexpr double kMarginPoints = 36;

struct Block {
    double height = 0;
    bool keepWithNext = false;
    std::function<void(double top)> paint;
};

class SummaryPainter {
public:
    SummaryPainter(PageCanvas& canvas, const SummaryPrintout& printout)
        : canvas_(canvas)
        , p_(canvas.painter)
        , printout_(printout)
        , unit_(canvas.dpi / 72.0)
    {
        const double margin = kMarginPoints * unit_;
        const QRectF wanted = QRectF(canvas.paper).adjusted(margin, margin, -margin, -margin);
        content_ = wanted.intersected(QRectF(canvas.area));
        if (content_.isEmpty())
            content_ = QRectF(canvas.area);
    }

    bool paint()
    {
        // The largest size at which everything fits on one page; when that
        // cannot be, the largest at which all but the records not counted
        // do, so that they alone go on to further pages.
        std::optional<double> all;
        std::optional<double> main;
        for (double points = kSummaryMaxPoints; points >= kSummaryMinPoints; points -= 0.25) {
            setSize(points);
            const std::vector<Block> blocks = build();
            double total = 0;
            double mainPart = 0;
            const std::size_t mainBlocks = blocks.size() - printout_.notCounted.size();
            for (std::size_t i = 0; i < blocks.size(); ++i) {
                total += blocks[i].height;
                if (i < mainBlocks)
                    mainPart += blocks[i].height;
            }
            if (!all && total <= pageHeight())
                all = points;
            if (!main && mainPart <= pageHeight())
                main = points;
        }
        setSize(all ? *all : main ? *main : kSummaryMinPoints);

        const std::vector<Block> blocks = build();
        std::vector<double> heights;
        std::vector<bool> keep;
        for (const Block& b : blocks) {
            heights.push_back(b.height);
            keep.push_back(b.keepWithNext);
        }
        const std::vector<std::size_t> starts = pageStarts(heights, keep, pageHeight());
        for (std::size_t page = 0; page < starts.size(); ++page) {
            if (page > 0 && !canvas_.newPage())
                return false;
            const std::size_t end = page + 1 < starts.size() ? starts[page + 1] : blocks.size();
            double y = content_.top();
            for (std::size_t i = starts[page]; i < end; ++i) {
                blocks[i].paint(y);
                y += blocks[i].height;
            }
            paintFooter(int(page) + 1, int(starts.size()));
        }
        return true;
    }

private:
    void setSize(double points)
    {
        text_ = QApplication::font();
        text_.setPointSizeF(points);
        // Without ligatures: "fi" stays two letters, so that the text of
        // the page reads and searches as the category names are written.
        text_.setLetterSpacing(QFont::AbsoluteSpacing, 0.1);
        bold_ = text_;
        bold_.setBold(true);
        italic_ = text_;
        italic_.setItalic(true);
        title_ = bold_;
        title_.setPointSizeF(points + 4);
        small_ = text_;
        small_.setPointSizeF(kSummaryMinPoints);
        row_ = metrics(text_).lineSpacing() * 1.08;
        gap_ = row_ * 0.6;

        // Columns, from the right: the bar, the figure lined up on its
        // decimal separator, the record count; the label takes the rest.
        const QFontMetricsF m = metrics(bold_);
        const double width = content_.width();
        const double pad = m.horizontalAdvance(QStringLiteral("MM"));
        barRight_ = content_.left() + width;
        barLeft_ = barRight_ - width * 0.24;
        figureRight_ = barLeft_ - pad;
        fractionWidth_ = m.horizontalAdvance(QStringLiteral(".0000"));
        figureLeft_ = figureRight_ - m.horizontalAdvance(QStringLiteral("-999999999999999.0000"));
        recordsRight_ = figureLeft_ - pad / 2;
        labelRight_ = recordsRight_ - m.horizontalAdvance(QStringLiteral("Records")) - pad / 2;
    }

    QFontMetricsF metrics(const QFont& font) const { return QFontMetricsF(font, p_.device()); }
    double pageHeight() const { return content_.height() - footerHeight(); }
    double footerHeight() const { return metrics(small_).lineSpacing() * 1.5; }

    void text(const QFont& font, const QColor& color, double left, double right, double top,
              const QString& s, Qt::Alignment align = Qt::AlignLeft) const
    {
        p_.setFont(font);
        p_.setPen(color);
        const QFontMetricsF m = metrics(font);
        const QString shown = m.elidedText(s, Qt::ElideRight, right - left);
        const double x = align & Qt::AlignRight ? right - m.horizontalAdvance(shown) : left;
        p_.drawText(QPointF(x, top + (row_ - m.height()) / 2 + m.ascent()), shown);
    }

    void figure(const QFont& font, const QColor& color, double top, const QString& figureText) const
    {
        const FigureParts parts = splitFigure(figureText);
        const double point = figureRight_ - fractionWidth_;
        text(font, color, figureLeft_, point, top, parts.whole, Qt::AlignRight);
        if (!parts.fraction.isEmpty())
            text(font, color, point, figureRight_ + 1, top, parts.fraction);
    }

    void rule(double left, double right, double y) const
    {
        p_.setPen(QPen(Qt::black, std::max(1.0, 0.6 * unit_)));
        p_.drawLine(QPointF(left, y), QPointF(right, y));
    }

    std::vector<Block> build() const
    {
        std::vector<Block> blocks;
        const double left = content_.left();
        const double right = content_.right();

        blocks.push_back({metrics(title_).lineSpacing() * 1.3, true, [=, this](double top) {
                              p_.setFont(title_);
                              p_.setPen(Qt::black);
                              p_.drawText(QPointF(left, top + metrics(title_).ascent()),
                                          printout_.title);
                          }});
        for (const QString& line : printout_.heading)
            blocks.push_back({row_, true, [=, this](double top) {
                                  text(text_, Qt::black, left, right, top, line);
                              }});
        blocks.push_back({gap_ + row_, true, [=, this](double top) {
                              const double y = top + gap_;
                              text(bold_, Qt::black, left, labelRight_, y,
                                   QStringLiteral("Category"));
                              text(bold_, Qt::black, labelRight_, recordsRight_, y,
                                   QStringLiteral("Records"), Qt::AlignRight);
                              text(bold_, Qt::black, figureLeft_, figureRight_ - fractionWidth_, y,
                                   QStringLiteral("Total"), Qt::AlignRight);
                              rule(left, right, y + row_);
                          }});

        bool firstTotal = true;
        for (const SummaryRow& row : printout_.rows) {
            switch (row.style) {
            case Style::SectionHeading:
                blocks.push_back({gap_ + row_, true, [=, this](double top) {
                                      text(bold_, Qt::black, left, right, top + gap_, row.label);
                                  }});
                break;
            case Style::Category:
            case Style::EmptyCategory:
            case Style::Unlisted:
                blocks.push_back({row_, false, [=, this](double top) { line(row, top); }});
                break;
            case Style::SectionTotal:
                blocks.push_back({row_, false, [=, this](double top) {
                                      rule(figureLeft_, figureRight_, top);
                                      line(row, top);
                                  }});
                break;
            case Style::Total: {
                const bool first = firstTotal;
                firstTotal = false;
                const double before = first ? gap_ * 1.5 : 0;
                blocks.push_back({before + row_, false, [=, this](double top) {
                                      if (first)
                                          rule(left, right, top + before / 2);
                                      line(row, top + before);
                                  }});
                break;
            }
            }
        }

        const double titleHeight = gap_ * 1.5 + row_;
        auto title = [=, this](double top) {
            text(bold_, Qt::black, left, right, top + gap_ * 1.5, printout_.notCountedTitle);
        };
        if (printout_.notCounted.empty()) {
            blocks.push_back({titleHeight, false, title});
            return blocks;
        }
        // Record number, date, amount, description, reason.
        const QFontMetricsF m = metrics(text_);
        const double digit = m.horizontalAdvance(QStringLiteral("0"));
        const double pad = m.horizontalAdvance(QStringLiteral("M"));
        const double numberRight =
            left + std::max(metrics(bold_).horizontalAdvance(QStringLiteral("Record")), digit * 5);
        const double dateLeft = numberRight + pad;
        const double amountLeft = dateLeft + m.horizontalAdvance(QStringLiteral("12/31/1999 ")) * 1.3;
        const double descriptionLeft = amountLeft + digit * 15 + pad;
        const double reasonLeft = descriptionLeft + m.horizontalAdvance(QStringLiteral("M")) * 14;
        auto cells = [=, this](const QFont& font, double top, const QStringList& c) {
            text(font, Qt::black, left, numberRight, top, c.value(NcNumber), Qt::AlignRight);
            text(font, Qt::black, dateLeft, amountLeft - pad, top, c.value(NcDate));
            text(font, Qt::black, amountLeft, descriptionLeft - pad, top, c.value(NcAmount));
            text(font, Qt::black, descriptionLeft, reasonLeft - pad, top, c.value(NcDescription));
            text(font, Qt::black, reasonLeft, right, top, c.value(NcReason));
        };
        // The title and the column heads go together, and with a first row.
        blocks.push_back({titleHeight + row_, true, [=, this](double top) {
                              title(top);
                              cells(bold_, top + titleHeight, notCountedHeaders());
                          }});
        for (const QStringList& c : printout_.notCounted)
            blocks.push_back({row_, false, [=, this](double top) { cells(text_, top, c); }});
        return blocks;
    }

    void line(const SummaryRow& row, double top) const
    {
        const bool strong = row.style == Style::SectionTotal || row.style == Style::Total;
        const QFont& font = strong ? bold_ : text_;
        const QColor color = row.style == Style::EmptyCategory ? kQuiet : QColor(Qt::black);
        const double indent = strong ? 0 : metrics(text_).horizontalAdvance(QStringLiteral("MM"));
        const double left = content_.left() + indent;
        // A line without a count may use its column, and the figure's as
        // far as the figure leaves it free.
        const double labelRight = row.records.isEmpty()
            ? figureRight_ - fractionWidth_
                - metrics(font).horizontalAdvance(splitFigure(row.figure).whole + QStringLiteral("MM"))
            : labelRight_;
        if (row.style == Style::Unlisted) {
            const QFontMetricsF m = metrics(italic_);
            const QString label = m.elidedText(row.label, Qt::ElideRight, labelRight - left);
            text(italic_, color, left, labelRight, top, label);
            const double noteLeft = left + m.horizontalAdvance(label + u' ');
            if (noteLeft < labelRight)
                text(italic_, kQuiet, noteLeft, labelRight, top, u'(' + row.note + u')');
        } else if (!row.note.isEmpty()) {
            const QFontMetricsF m = metrics(font);
            text(font, color, left, labelRight, top, row.label);
            const double noteLeft = left + m.horizontalAdvance(row.label + u' ');
            if (noteLeft < labelRight)
                text(text_, kQuiet, noteLeft, labelRight, top, u'(' + row.note + u')');
        } else {
            text(font, color, left, labelRight, top, row.label);
        }
        text(font, color, labelRight_, recordsRight_, top, row.records, Qt::AlignRight);
        figure(font, color, top, row.figure);
        if (row.share > 0) {
            const double height = row_ * 0.55;
            const double width = std::max(unit_ * 0.75, (barRight_ - barLeft_) * row.share);
            p_.fillRect(QRectF(barLeft_, top + (row_ - height) / 2, width, height), kBar);
        }
    }

    void paintFooter(int page, int pages) const
    {
        const QString s = QStringLiteral("Page %1 of %2").arg(page).arg(pages);
        p_.setFont(small_);
        p_.setPen(kQuiet);
        const QFontMetricsF m = metrics(small_);
        p_.drawText(QPointF(content_.right() - m.horizontalAdvance(s), content_.bottom() - m.descent()),
                    s);
    }

    PageCanvas& canvas_;
    QPainter& p_;
    const SummaryPrintout& printout_;
    double unit_; // device pixels in a point
    QRectF content_;

    QFont text_, bold_, italic_, title_, small_;
    double row_ = 0;
    double gap_ = 0;
    double labelRight_ = 0;
    double recordsRight_ = 0;
    double figureLeft_ = 0;
    double figureRight_ = 0;
    double fractionWidth_ = 0;
    double barLeft_ = 0;
    double barRight_ = 0;
};

} // namespace

bool paintSummary(PageCanvas& canvas, const SummaryPrintout& printout)
{
    return SummaryPainter(canvas, printout).paint();
}

} // namespace quillary
