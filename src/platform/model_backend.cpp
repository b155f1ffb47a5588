#include "orvask/platform/model_backend.h"

namespace orvask::platform {

ModelBackend::ModelBackend(Coord size) : model_(size) {
    model_.windowBottomRight = {static_cast<std::int16_t>(model_.width() - 1),
                                static_cast<std::int16_t>(model_.height() - 1)};
}

void ModelBackend::setCursorPosition(Coord pos) {
    const Hold hold(*this);
    model_.setCursor(pos);
    changed();
}

Coord ModelBackend::cursorPosition() {
    const Hold hold(*this);
    return model_.cursor();
}

void ModelBackend::setAttribute(std::uint8_t attribute) {
    const Hold hold(*this);
    model_.setAttribute(attribute);
}

std::uint8_t ModelBackend::attribute() {
    const Hold hold(*this);
    return model_.attribute();
}

void ModelBackend::write(const char* bytes, std::size_t count) {
    const Hold hold(*this);
    model_.write(bytes, count);
    changed();
}

void ModelBackend::setCursorInfo(int size, bool visible) {
    if (size < 1 || size > 100) return;
    const Hold hold(*this);
    model_.cursorSize = size;
    model_.cursorVisible = visible;
    changed();
}

void ModelBackend::setBufferSize(Coord size) {
    const Hold hold(*this);
    model_.resize(size);
    changed();
}

Coord ModelBackend::bufferSize() {
    const Hold hold(*this);
    return model_.size();
}

void ModelBackend::setWindowRect(Coord topLeft, Coord bottomRight) {
    const Hold hold(*this);
    model_.windowTopLeft = topLeft;
    model_.windowBottomRight = bottomRight;
}

void ModelBackend::maximizeWindow() {
    const Hold hold(*this);
    model_.windowMaximized = true;
}

void ModelBackend::setOutputMode(unsigned mode) {
    const Hold hold(*this);
    model_.outputMode = mode;
}

int ModelBackend::inputCodePage() {
    const Hold hold(*this);
    return model_.inputCodePage;
}

void ModelBackend::setInputCodePage(int codePage) {
    const Hold hold(*this);
    model_.inputCodePage = codePage;
}

int ModelBackend::outputCodePage() {
    const Hold hold(*this);
    return model_.outputCodePage;
}

void ModelBackend::setOutputCodePage(int codePage) {
    const Hold hold(*this);
    model_.outputCodePage = codePage;
    changed();
}

void ModelBackend::setTitle(const char* text) {
    const Hold hold(*this);
    model_.title = text != nullptr ? text : "";
    changed();
}

}  // namespace orvask::platform
