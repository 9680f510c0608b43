#include "XlsxFormats.h"

#include <QByteArray>

#include "Spreadsheet.h"

namespace ponencias {

namespace {

uint8_t HorizontalCode(int32_t alignment) {
    switch (alignment) {
        case xlLeft:
            return LXW_ALIGN_LEFT;
        case xlCenter:
            return LXW_ALIGN_CENTER;
        case xlRight:
            return LXW_ALIGN_RIGHT;
        case xlJustify:
            return LXW_ALIGN_JUSTIFY;
        case xlDistributed:
            return LXW_ALIGN_DISTRIBUTED;
        case xlFill:
            return LXW_ALIGN_FILL;
        case xlCenterAcrossSelection:
            return LXW_ALIGN_CENTER_ACROSS;
        default:
            return LXW_ALIGN_NONE;
    }
}

uint8_t VerticalCode(int32_t alignment) {
    switch (alignment) {
        case xlTop:
            return LXW_ALIGN_VERTICAL_TOP;
        case xlCenter:
            return LXW_ALIGN_VERTICAL_CENTER;
        case xlJustify:
            return LXW_ALIGN_VERTICAL_JUSTIFY;
        case xlDistributed:
            return LXW_ALIGN_VERTICAL_DISTRIBUTED;
        default:
            return LXW_ALIGN_VERTICAL_BOTTOM;
    }
}

}  // namespace

lxw_format* XlsxFormats::formatFor(const ResolvedFormat& resolved) {
    if (resolved.setMask == 0) {
        return nullptr;
    }
    if (auto found = formats_.find(resolved); found != formats_.end()) {
        return found->second;
    }
    lxw_format* f = workbook_add_format(workbook_);
    using P = CellProperty;
    if (resolved.has(P::FontName)) {
        const QByteArray fontName = sheet_.fontName(resolved.get(P::FontName)).toUtf8();
        format_set_font_name(f, fontName.constData());
    }
    if (resolved.has(P::FontSize)) {
        format_set_font_size(f, resolved.get(P::FontSize) / 100.0);
    }
    if (resolved.has(P::FontBold) && resolved.get(P::FontBold)) {
        format_set_bold(f);
    }
    if (resolved.has(P::FontColor)) {
        format_set_font_color(f, lxw_color_t(resolved.get(P::FontColor)));
    }
    if (resolved.has(P::FontUnderline) && resolved.get(P::FontUnderline)) {
        format_set_underline(f, LXW_UNDERLINE_SINGLE);
    }
    if (resolved.has(P::FillColor) && resolved.get(P::FillColor) != kNoFill) {
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, lxw_color_t(resolved.get(P::FillColor)));
    }
    if (resolved.has(P::LineStyle) && resolved.get(P::LineStyle) == xlContinuous) {
        format_set_border(f, LXW_BORDER_THIN);
    }
    if (resolved.has(P::HorizontalAlignment)) {
        if (const uint8_t code = HorizontalCode(resolved.get(P::HorizontalAlignment))) {
            format_set_align(f, code);
        }
    }
    if (resolved.has(P::VerticalAlignment)) {
        format_set_align(f, VerticalCode(resolved.get(P::VerticalAlignment)));
    }
    if (resolved.has(P::WrapText) && resolved.get(P::WrapText)) {
        format_set_text_wrap(f);
    }
    if (resolved.has(P::Orientation) && resolved.get(P::Orientation) != 0) {
        format_set_rotation(f, int16_t(resolved.get(P::Orientation)));
    }
    if (resolved.has(P::IndentLevel) && resolved.get(P::IndentLevel) > 0) {
        format_set_indent(f, uint8_t(resolved.get(P::IndentLevel)));
    }
    if (resolved.has(P::ShrinkToFit) && resolved.get(P::ShrinkToFit)) {
        format_set_shrink(f);
    }
    if (resolved.has(P::ReadingOrder)) {
        const int32_t order = resolved.get(P::ReadingOrder);
        if (order == xlLTR || order == xlRTL) {
            format_set_reading_order(f, order == xlLTR ? 1 : 2);
        }
    }
    formats_.emplace(resolved, f);
    return f;
}

}  // namespace ponencias
