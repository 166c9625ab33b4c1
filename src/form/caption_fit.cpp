#include "form/caption_fit.h"

namespace wendle::form {

namespace {

CaptionKind kindOf(std::string_view name) {
    if (name.starts_with("chk"))
        return CaptionKind::CheckBox;
    if (name.starts_with("cmd"))
        return CaptionKind::Button;
    return CaptionKind::Label;
}

} // namespace

bool captionsFit(CaptionMeasure &measure, double fontSize) {
    for (const ControlPlace &place : Controls) {
        std::string_view caption = place.caption;
        while (!caption.empty() && caption.back() == ' ')
            caption.remove_suffix(1);
        if (caption.empty())
            continue;
        const PixelSize text = measure.textSize(caption, fontSize);
        const PixelSize around = measure.around(kindOf(place.name));
        const PixelSize room = measure.room(place);
        if (text.width + around.width > room.width || text.height + around.height > room.height)
            return false;
    }
    return true;
}

double fittingCaptionSize(CaptionMeasure &measure, double largest, double smallest, double step) {
    for (double size = largest; size > smallest; size -= step) {
        if (captionsFit(measure, size))
            return size;
    }
    return smallest;
}

} // namespace wendle::form
