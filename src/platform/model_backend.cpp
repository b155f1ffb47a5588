#include "orvask/platform/model_backend.h"

namespace orvask::platform {

ModelBackend::ModelBackend(Coord size) : model_(size) {
    model_.windowBottomRight = {static_cast<std::int16_t>(model_.width() - 1),
                                static_cast<std::int16_t>(model_.height() - 1)};
}

void ModelBackend::setCursorPosition(Coord pos) {
    model_.setCursor(pos);
    changed();
}

void ModelBackend::write(const char* bytes, std::size_t count) {
    model_.write(bytes, count);
    changed();
}

void ModelBackend::setCursorInfo(int size, bool visible) {
    if (size < 1 || size > 100) return;
    model_.cursorSize = size;
    model_.cursorVisible = visible;
    changed();
}

void ModelBackend::setBufferSize(Coord size) {
    model_.resize(size);
    changed();
}

void ModelBackend::setWindowRect(Coord topLeft, Coord bottomRight) {
    model_.windowTopLeft = topLeft;
    model_.windowBottomRight = bottomRight;
}

void ModelBackend::setOutputCodePage(int codePage) {
    model_.outputCodePage = codePage;
    changed();
}

void ModelBackend::setTitle(const char* text) {
    model_.title = text != nullptr ? text : "";
    changed();
}

}  // namespace orvask::platform
