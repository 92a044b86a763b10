#include "platform/qt/contents/QtContentsTypesetter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <memory>

namespace tomefuse {

namespace {

// Page geometry and type sizes, in points, from the page's size.
struct Style {
    double margin;
    double body;    // type size of a line
    double indent;  // per level
    double gap;     // between a line's text, its leader and its number

    explicit Style(double width, double height)
        : margin(std::clamp(std::min(width, height) * 0.1, 18.0, 72.0)),
          body(std::clamp(width / 50, 6.0, 12.0)),
          indent(body * 1.5),
          gap(body * 0.6) {}
};

QFont fontOf(double size, bool bold) {
    QFont font;
    // Fontconfig supplies the fallbacks for scripts DejaVu lacks (CJK and others).
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
    font.setPointSizeF(size);
    font.setBold(bold);
    return font;
}

// The widths of page numbers. Measuring a string, even a single character, costs thousands of
// instructions, and a contents page measures every number in every round; plain ASCII (numbers,
// roman numerals, "A-3") is summed from the widths of its characters, each measured once.
class NumberWidths {
  public:
    explicit NumberWidths(const QFontMetricsF& metrics) : metrics_(metrics) { ascii_.fill(-1); }

    double of(const QString& text) {
        double advance = 0;
        for (const QChar c : text) {
            const char16_t code = c.unicode();
            if (code >= ascii_.size()) {
                return metrics_.horizontalAdvance(text);
            }
            if (ascii_[code] < 0) {
                ascii_[code] = metrics_.horizontalAdvance(c);
            }
            advance += ascii_[code];
        }
        return advance;
    }

  private:
    const QFontMetricsF& metrics_;
    std::array<double, 128> ascii_;
};

// One line of the contents, wrapped to its width.
struct Block {
    std::unique_ptr<QTextLayout> text;
    double x = 0;       // of the text
    double height = 0;  // of the text's lines
};

}  // namespace

struct QtContentsTypesetter::Laid {
    // What the blocks depend on: the lines' texts and levels, the page and the room left of the
    // numbers.
    std::vector<std::pair<std::string, unsigned>> lines;
    double width = 0;
    double height = 0;
    double textRight = 0;
    std::vector<Block> blocks;

    bool fits(const ContentsRequest& request, double right) const {
        if (request.pageWidth != width || request.pageHeight != height || right != textRight ||
            request.lines.size() != lines.size()) {
            return false;
        }
        for (size_t i = 0; i < lines.size(); ++i) {
            if (request.lines[i].text != lines[i].first || request.lines[i].level != lines[i].second) {
                return false;
            }
        }
        return true;
    }
};

QtContentsTypesetter::QtContentsTypesetter() = default;
QtContentsTypesetter::~QtContentsTypesetter() = default;

// Layouts hold fonts from the thread's own font cache: they go on the thread that made them.
void QtContentsTypesetter::finishContents() { laid_.reset(); }

ContentsTypesetting QtContentsTypesetter::typeset(const ContentsRequest& request) {
    ContentsTypesetting result;
    if (!QGuiApplication::instance()) {
        result.error = "no Qt application to lay text out with";
        return result;
    }
    const double width = request.pageWidth;
    const double height = request.pageHeight;
    const Style style(width, height);
    if (width < 2 * style.margin + 4 * style.body || height < 2 * style.margin + 4 * style.body) {
        result.error = "the first page is too small for a contents page";
        return result;
    }

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);  // a unit is a point
    writer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Tomefuse"));

    const QFont titleFont = fontOf(style.body * 1.6, true);
    const QFont fileFont = fontOf(style.body, true);
    const QFont bookmarkFont = fontOf(style.body, false);
    const QFontMetricsF numbers(bookmarkFont, &writer);
    NumberWidths numberWidths(numbers);
    double numberWidth = 0;
    bool anyBookmarks = false;
    for (const ContentsLine& line : request.lines) {
        numberWidth = std::max(numberWidth, numberWidths.of(QString::fromStdString(line.pageText)));
        anyBookmarks = anyBookmarks || line.level > 0;
    }
    const double right = width - style.margin;
    const double bottom = height - style.margin;
    const double textRight = right - numberWidth - 2 * style.gap;

    std::unique_ptr<QPainter> painter;
    if (request.render) {
        painter = std::make_unique<QPainter>();
        if (!painter->begin(&writer)) {
            result.error = "Qt could not start a PDF";
            return result;
        }
    }
    QTextLayout title(QString::fromStdString(request.title), titleFont, &writer);
    title.beginLayout();
    QTextLine titleLine = title.createLine();
    titleLine.setLineWidth(right - style.margin);
    title.endLayout();
    double y = style.margin;
    result.title = PDFRect{style.margin, height - y - titleLine.height(), right - style.margin, titleLine.height()};
    if (painter) {
        title.draw(painter.get(), QPointF(style.margin, y));
    }
    y += titleLine.height() + style.body;

    size_t page = 0;
    const double lineHeight = numbers.lineSpacing();
    // A name too long for a page is cut to what fits on one: every line stays on a single page.
    const int maxLines = std::max(1, static_cast<int>((bottom - style.margin) / lineHeight) - 1);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    if (!laid_ || !laid_->fits(request, textRight)) {
        laid_ = std::make_unique<Laid>();
        laid_->width = width;
        laid_->height = height;
        laid_->textRight = textRight;
        laid_->lines.reserve(request.lines.size());
        laid_->blocks.reserve(request.lines.size());
        for (const ContentsLine& line : request.lines) {
            laid_->lines.emplace_back(line.text, line.level);
            Block& block = laid_->blocks.emplace_back();
            block.x = style.margin + std::min<double>(line.level, 8) * style.indent;
            block.text = std::make_unique<QTextLayout>(QString::fromStdString(line.text),
                                                       line.level == 0 ? fileFont : bookmarkFont, &writer);
            block.text->setTextOption(wrapping);
            block.text->beginLayout();
            const double lineWidth = std::max(textRight - block.x, 4 * style.body);
            for (int n = 0; n < maxLines; ++n) {
                QTextLine textLine = block.text->createLine();
                if (!textLine.isValid()) {
                    break;
                }
                textLine.setLineWidth(lineWidth);
                textLine.setPosition(QPointF(0, block.height));
                block.height += textLine.height();
            }
            block.text->endLayout();
            block.height = std::max(block.height, lineHeight);
        }
    }
    for (size_t i = 0; i < request.lines.size(); ++i) {
        const ContentsLine& line = request.lines[i];
        const Block& block = laid_->blocks[i];
        const bool isFile = line.level == 0;
        const double before = isFile && anyBookmarks && y > style.margin ? style.body * 0.5 : 0;
        if (y + before + block.height > bottom) {
            ++page;
            y = style.margin;
            if (painter && !writer.newPage()) {
                result.error = "Qt could not add a page";
                return result;
            }
        } else {
            y += before;
        }
        result.placements.push_back({page, PDFRect{block.x, height - y - block.height, right - block.x, block.height}});
        if (painter) {
            block.text->draw(painter.get(), QPointF(block.x, y));
            // The number stands on the last line of the text.
            const int count = block.text->lineCount();
            const QTextLine last = count > 0 ? block.text->lineAt(count - 1) : QTextLine();
            const double baseline = y + (last.isValid() ? last.y() + last.ascent() : numbers.ascent());
            const QString number = QString::fromStdString(line.pageText);
            if (!number.isEmpty()) {
                painter->setFont(bookmarkFont);
                const double numberX = right - numberWidths.of(number);
                painter->drawText(QPointF(numberX, baseline), number);
                // Dots lead the eye from the name to its page.
                const double from = block.x + (last.isValid() ? last.naturalTextWidth() : 0) + style.gap;
                const double to = right - numberWidth - style.gap;
                if (to - from > style.body) {
                    painter->save();
                    QPen dots(QColor(120, 120, 120), std::max(0.6, style.body / 14), Qt::DotLine);
                    painter->setPen(dots);
                    painter->drawLine(QPointF(from, baseline), QPointF(to, baseline));
                    painter->restore();
                }
            }
        }
        y += block.height;
    }
    result.pageCount = page + 1;
    if (painter) {
        if (!painter->end()) {
            result.error = "Qt could not finish the PDF";
            return result;
        }
        result.pdf = buffer.data().toStdString();
    }
    return result;
}

}  // namespace tomefuse
