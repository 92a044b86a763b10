#include "platform/pdf/PDFPage.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "platform/pdf/PDFDocumentImpl.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse {

namespace pdf_detail {

namespace {

// US Letter, what readers assume for a page without a usable /MediaBox.
constexpr PDFRect defaultMediaBox{0, 0, 612, 792};

std::optional<PDFRect> rectangleOf(QPDFObjectHandle array);

}  // namespace

// A damaged file may loop its /Parent chain: stop at the first node seen twice.
QPDFObjectHandle inheritedAttribute(QPDFObjectHandle node, const std::string& key) {
    ObjGenSet seen;
    for (int depth = 0; depth < 1000 && node.isDictionary(); ++depth) {
        if (node.isIndirect() && !seen.insert(node.getObjGen()).second) {
            break;
        }
        QPDFObjectHandle value = node.getKey(key);
        if (!value.isNull()) {
            return value;
        }
        node = node.getKey("/Parent");
    }
    return QPDFObjectHandle::newNull();
}

namespace {

std::optional<PDFRect> rectangleOf(QPDFObjectHandle array) {
    if (!array.isArray() || array.getArrayNItems() != 4) {
        return std::nullopt;
    }
    double v[4];
    for (int i = 0; i < 4; ++i) {
        QPDFObjectHandle item = array.getArrayItem(i);
        if (!item.isNumber()) {
            return std::nullopt;
        }
        v[i] = item.getNumericValue();
        if (!std::isfinite(v[i])) {
            return std::nullopt;
        }
    }
    const double x1 = std::min(v[0], v[2]);
    const double x2 = std::max(v[0], v[2]);
    const double y1 = std::min(v[1], v[3]);
    const double y2 = std::max(v[1], v[3]);
    return PDFRect{x1, y1, x2 - x1, y2 - y1};
}

}  // namespace

PDFRect mediaBoxOf(QPDFObjectHandle page) {
    try {
        if (auto box = rectangleOf(inheritedAttribute(page, "/MediaBox")); box && box->width > 0 && box->height > 0) {
            return *box;
        }
    } catch (const std::exception&) {
    }
    return defaultMediaBox;
}

PDFRect cropBoxOf(QPDFObjectHandle page) {
    const PDFRect media = mediaBoxOf(page);
    try {
        if (auto crop = rectangleOf(inheritedAttribute(page, "/CropBox"))) {
            // Readers show the crop box clipped to the media box.
            const double x1 = std::max(crop->x, media.x);
            const double y1 = std::max(crop->y, media.y);
            const double x2 = std::min(crop->x + crop->width, media.x + media.width);
            const double y2 = std::min(crop->y + crop->height, media.y + media.height);
            if (x2 > x1 && y2 > y1) {
                return PDFRect{x1, y1, x2 - x1, y2 - y1};
            }
        }
    } catch (const std::exception&) {
    }
    return media;
}

int rotationOf(QPDFObjectHandle page) {
    try {
        QPDFObjectHandle rotate = inheritedAttribute(page, "/Rotate");
        if (!rotate.isNumber()) {
            return 0;
        }
        const double value = rotate.getNumericValue();
        if (!std::isfinite(value) || std::fabs(value) > 1e9) {
            return 0;
        }
        // Readers take the value modulo 360 and ignore what is not a multiple of 90.
        long long degrees = std::llround(value);
        if (degrees % 90 != 0) {
            return 0;
        }
        degrees %= 360;
        if (degrees < 0) {
            degrees += 360;
        }
        return static_cast<int>(degrees);
    } catch (const std::exception&) {
        return 0;
    }
}

PageGeometry geometryOf(QPDFObjectHandle page) {
    return PageGeometry{mediaBoxOf(page), cropBoxOf(page), rotationOf(page)};
}

}  // namespace pdf_detail

PDFRect PDFPage::boundsForBox(PDFDisplayBox box) const {
    if (!impl_) {
        return {};
    }
    if (!impl_->object.isInitialized()) {
        if (!impl_->written) {
            return {};
        }
        return box == PDFDisplayBox::cropBox ? impl_->written->geometry.crop : impl_->written->geometry.media;
    }
    return box == PDFDisplayBox::cropBox ? pdf_detail::cropBoxOf(impl_->object) : pdf_detail::mediaBoxOf(impl_->object);
}

int PDFPage::rotation() const {
    if (!impl_) {
        return 0;
    }
    if (!impl_->object.isInitialized()) {
        return impl_->written ? impl_->written->geometry.rotation : 0;
    }
    return pdf_detail::rotationOf(impl_->object);
}

bool PDFPage::operator==(const PDFPage& other) const {
    if (!impl_ || !other.impl_) {
        return !impl_ && !other.impl_;
    }
    return impl_->doc == other.impl_->doc && impl_->id == other.impl_->id;
}

}  // namespace tomefuse
