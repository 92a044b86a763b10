// Contents pages made here, in a tagged document: their text is the structure tree's content,
// their decoration (dot leaders, rules) artifacts, and the list they make stands first in the
// tree. The pages come from a toolkit that writes its own glyph runs, so each text object is
// given to the line it starts in; the content is otherwise left byte for byte as it was.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <map>
#include <new>
#include <qpdf/BufferInputSource.hh>
#include <qpdf/QPDFTokenizer.hh>

#include "platform/pdf/PDFObjectSerializer.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// An affine matrix as PDF writes it: (x, y) goes to (a x + c y + e, b x + d y + f).
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    // This one, then m.
    Matrix then(const Matrix& m) const {
        return {a * m.a + b * m.c, a * m.b + b * m.d,       c * m.a + d * m.c,
                c * m.b + d * m.d, e * m.a + f * m.c + m.e, e * m.b + f * m.d + m.f};
    }
};

// How far outside its area, in points, a text may start and still be that area's: positions
// are rounded on the way.
constexpr double slack = 1;
// Deeper lines are listed at this depth.
constexpr unsigned maxListDepth = 64;

// The area a text starting at (x, y) is of: of those holding the point, the one whose middle is
// nearest; -1 for none.
int areaAt(const std::vector<PDFRect>& areas, double x, double y) {
    int found = -1;
    double nearest = 0;
    for (size_t i = 0; i < areas.size(); ++i) {
        const PDFRect& r = areas[i];
        if (x < r.x - slack || x > r.x + r.width + slack || y < r.y - slack || y > r.y + r.height + slack) {
            continue;
        }
        const double distance = std::abs(y - (r.y + r.height / 2));
        if (found < 0 || distance < nearest) {
            found = static_cast<int>(i);
            nearest = distance;
        }
    }
    return found;
}

bool isPathPainting(const std::string& op) {
    static const char* const painting[] = {"S", "s", "f", "F", "f*", "B", "B*", "b", "b*", "n"};
    return std::find(std::begin(painting), std::end(painting), op) != std::end(painting);
}

// A piece of the content to mark: its bytes, and the area its text is of (-1: an artifact).
struct Piece {
    size_t start = 0;
    size_t end = 0;
    int area = -1;
};

// What draws: each text object with the area it starts in, each path, image and shading.
class ContentReader {
  public:
    ContentReader(const std::string& content, const std::vector<PDFRect>& areas)
        : input_(std::make_shared<BufferInputSource>("contents", content)), areas_(areas) {
        tokenizer_.allowEOF();
        tokenizer_.includeIgnorable();
    }

    std::vector<Piece> pieces() {
        for (;;) {
            const auto at = static_cast<size_t>(input_->tell());
            const QPDFTokenizer::Token token = tokenizer_.readToken(input_, "contents", true);
            const auto end = static_cast<size_t>(input_->tell());
            switch (token.getType()) {
                case QPDFTokenizer::tt_eof:
                    return std::move(pieces_);
                case QPDFTokenizer::tt_bad:
                    throw std::runtime_error("the content cannot be read");
                case QPDFTokenizer::tt_space:
                case QPDFTokenizer::tt_comment:
                case QPDFTokenizer::tt_inline_image:
                    break;
                case QPDFTokenizer::tt_word:
                    apply(token.getValue(), operandsStart_ == npos ? at : operandsStart_, at, end);
                    operands_.clear();
                    operandsStart_ = npos;
                    break;
                default:
                    operands_.push_back(numberOf(token));
                    operandsStart_ = std::min(operandsStart_, at);
            }
        }
    }

  private:
    static constexpr size_t npos = static_cast<size_t>(-1);

    // Read as in the C locale, whatever the program's.
    static double numberOf(const QPDFTokenizer::Token& token) {
        if (token.getType() != QPDFTokenizer::tt_integer && token.getType() != QPDFTokenizer::tt_real) {
            return NAN;
        }
        const std::string& text = token.getValue();
        const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
        double value = NAN;
        std::from_chars(begin, text.data() + text.size(), value);
        return value;
    }

    bool matrixOperands(Matrix& m) const {
        if (operands_.size() != 6) {
            return false;
        }
        m = {operands_[0], operands_[1], operands_[2], operands_[3], operands_[4], operands_[5]};
        return std::all_of(operands_.begin(), operands_.end(), [](double v) { return std::isfinite(v); });
    }

    void moveLine(double tx, double ty) {
        if (std::isfinite(tx) && std::isfinite(ty)) {
            line_ = Matrix{1, 0, 0, 1, tx, ty}.then(line_);
        }
    }

    double operand(size_t i) const { return i < operands_.size() ? operands_[i] : NAN; }

    void apply(const std::string& op, size_t start, size_t at, size_t end) {
        Matrix m;
        if (op == "q") {
            saved_.push_back(ctm_);
        } else if (op == "Q" && !saved_.empty()) {
            ctm_ = saved_.back();
            saved_.pop_back();
        } else if (op == "cm" && matrixOperands(m)) {
            ctm_ = m.then(ctm_);
        } else if (op == "BT") {
            inText_ = true;
            textStart_ = start;
            line_ = Matrix{};
            shown_.reset();
        } else if (op == "ET" && inText_) {
            inText_ = false;
            if (shown_) {
                pieces_.push_back({textStart_, end, areaAt(areas_, shown_->e, shown_->f)});
            }
        } else if (inText_) {
            applyText(op);
        } else if (op == "BI") {
            imageStart_ = at;
        } else if (op == "ID") {
            tokenizer_.expectInlineImage(input_);
        } else if (op == "EI" || op == "Do" || op == "sh") {
            pieces_.push_back({op == "EI" ? imageStart_ : start, end, -1});
        } else if ((op == "m" || op == "re") && pathStart_ == npos) {
            pathStart_ = start;
        } else if (isPathPainting(op) && pathStart_ != npos) {
            pieces_.push_back({pathStart_, end, -1});
            pathStart_ = npos;
        }
    }

    void applyText(const std::string& op) {
        Matrix m;
        if (op == "Tm" && matrixOperands(m)) {
            line_ = m;
        } else if (op == "Td" || op == "TD") {
            moveLine(operand(0), operand(1));
            if (op == "TD" && std::isfinite(operand(1))) {
                leading_ = -operand(1);
            }
        } else if (op == "TL" && std::isfinite(operand(0))) {
            leading_ = operand(0);
        } else if (op == "T*" || op == "'" || op == "\"") {
            moveLine(0, -leading_);
        }
        if ((op == "Tj" || op == "TJ" || op == "'" || op == "\"") && !shown_) {
            shown_ = line_.then(ctm_);
        }
    }

    std::shared_ptr<InputSource> input_;
    const std::vector<PDFRect>& areas_;
    QPDFTokenizer tokenizer_;
    std::vector<Piece> pieces_;
    std::vector<double> operands_;  // NaN for what is not a number
    size_t operandsStart_ = npos;
    Matrix ctm_;
    std::vector<Matrix> saved_;
    bool inText_ = false;
    size_t textStart_ = 0;
    Matrix line_;  // where the text line starts; glyphs drawn along it are not followed
    double leading_ = 0;
    std::optional<Matrix> shown_;  // where the text object's first text starts
    size_t pathStart_ = npos;
    size_t imageStart_ = 0;
};

std::string numbers(const std::vector<int>& values) {
    std::string text;
    for (int value : values) {
        text += std::to_string(value) + ' ';
    }
    return text;
}

}  // namespace

std::optional<std::vector<std::vector<int>>> markContent(QPDFObjectHandle page, const std::vector<PDFRect>& areas) {
    std::vector<std::vector<int>> marks(areas.size());
    try {
        QPDFObjectHandle contents = page.getKey("/Contents");
        std::vector<QPDFObjectHandle> streams;
        if (contents.isStream()) {
            streams.push_back(contents);
        } else if (contents.isArray()) {
            streams = contents.getArrayAsVector();
        }
        std::string content;
        for (QPDFObjectHandle stream : streams) {
            if (!stream.isStream()) {
                return std::nullopt;
            }
            const std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_generalized);
            content.append(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
            content += '\n';  // streams of one page break tokens between them
        }
        if (content.empty()) {
            return marks;
        }
        std::string marked;
        size_t from = 0;
        int mcid = 0;
        for (const Piece& piece : ContentReader(content, areas).pieces()) {
            marked.append(content, from, piece.start - from);
            if (piece.area >= 0) {
                marks[static_cast<size_t>(piece.area)].push_back(mcid);
                marked += "/Span<</MCID " + std::to_string(mcid++) + ">>BDC\n";
            } else {
                marked += "/Artifact BMC\n";
            }
            marked.append(content, piece.start, piece.end - piece.start);
            marked += "\nEMC\n";
            from = piece.end;
        }
        marked.append(content, from, std::string::npos);
        if (contents.isStream()) {
            contents.replaceStreamData(marked, QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
        } else {
            page.replaceKey("/Contents", QPDFObjectHandle::newStream(page.getOwningQPDF(), marked));
        }
        return marks;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void tagContentsPage(Writer& writer, QPDFObjectHandle page, int number, const PDFContentsTags& tags,
                     PageExtras& extras) {
    std::vector<PDFRect> areas;
    if (tags.title) {
        areas.push_back(*tags.title);
    }
    for (const PDFContentsTags::Line& line : tags.lines) {
        areas.push_back(line.area);
    }
    // Unmarked content stays as it was, and the lines are listed without it.
    const std::vector<std::vector<int>> marks =
        markContent(page, areas).value_or(std::vector<std::vector<int>>(areas.size()));
    extras.annotationNumbers.clear();
    for (size_t i = 0; i < extras.annotations.size(); ++i) {
        extras.annotationNumbers.push_back(writer.reserve());
    }
    std::vector<int> owners;  // by MCID, the element holding it
    auto add = [&](ContentsItem item, int owner) {
        for (int mcid : item.mcids) {
            owners.resize(std::max(owners.size(), static_cast<size_t>(mcid) + 1));
            owners[static_cast<size_t>(mcid)] = owner;
        }
        writer.addContentsItem(std::move(item));
    };
    size_t area = 0;
    if (tags.title) {
        ContentsItem item{true, 0, writer.reserve(), 0, number, 0, marks[area++]};
        add(item, item.element);
    }
    for (const PDFContentsTags::Line& line : tags.lines) {
        ContentsItem item{false, line.level, writer.reserve(), 0, number, 0, marks[area++]};
        const auto made = line.link
                              ? std::find(extras.annotationLinks.begin(), extras.annotationLinks.end(), *line.link)
                              : extras.annotationLinks.end();
        if (made != extras.annotationLinks.end()) {
            const auto k = static_cast<size_t>(made - extras.annotationLinks.begin());
            item.link = writer.reserve();
            item.annotation = extras.annotationNumbers[k];
            const long long key = writer.takeParentKeys(1);
            extras.annotations[k].insert(extras.annotations[k].size() - 2, "/StructParent " + std::to_string(key));
            writer.addParentTreeEntry(key, reference(item.link));
        }
        const int owner = item.link ? item.link : item.element;
        add(std::move(item), owner);
    }
    if (!owners.empty()) {
        const long long key = writer.takeParentKeys(1);
        std::string value = "[";
        for (int owner : owners) {
            value += reference(owner) + ' ';
        }
        writer.addParentTreeEntry(key, value + ']');
        extras.pageEntries += "/StructParents " + std::to_string(key);
    }
    // Links are visited in the order the structure reads.
    if (!extras.annotations.empty() && !page.hasKey("/Tabs")) {
        extras.pageEntries += "/Tabs/S";
    }
}

int Writer::writeContentsStructure() {
    if (contentsItems_.empty()) {
        return 0;
    }
    struct Element {
        const char* type = "";
        int parent = 0;
        int page = 0;
        std::string kids;
    };
    std::map<int, Element> elements;
    auto add = [&elements](int number, const char* type, int parent, int page, std::string kids) {
        elements[number] = {type, parent, page, std::move(kids)};
        elements[parent].kids += reference(number) + ' ';
    };
    const int list = reserve();
    elements[list] = {"/TOC", structDocument(), 0, {}};
    // The list open at each level; a deeper line opens one within the list above it.
    std::vector<int> lists = {list};
    for (const ContentsItem& item : contentsItems_) {
        if (item.title) {
            add(item.element, "/Caption", list, item.page, numbers(item.mcids));
            continue;
        }
        const size_t depth = std::min(item.level, maxListDepth) + size_t{1};
        lists.resize(std::min(lists.size(), depth));
        while (lists.size() < depth) {
            const int nested = reserve();
            add(nested, "/TOC", lists.back(), 0, {});
            lists.push_back(nested);
        }
        if (!item.link) {
            add(item.element, "/TOCI", lists.back(), item.page, numbers(item.mcids));
            continue;
        }
        add(item.element, "/TOCI", lists.back(), 0, {});
        add(item.link, "/Link", item.element, item.page,
            numbers(item.mcids) + "<</Type/OBJR/Obj " + reference(item.annotation) + "/Pg " + reference(item.page) +
                ">>");
    }
    for (const auto& [number, element] : elements) {
        std::string text = "<</Type/StructElem/S" + std::string(element.type) + "/P " + reference(element.parent);
        if (element.page) {
            text += "/Pg " + reference(element.page);
        }
        writeObject(number, text + "/K[" + element.kids + "]>>");
    }
    return list;
}

}  // namespace tomefuse::pdf_detail
