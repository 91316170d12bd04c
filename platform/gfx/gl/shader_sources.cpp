#include "platform/gfx/gl/shader_sources.h"

#include <QFile>

namespace tetrakon::gfx {

namespace {

std::string ReadResource(const char* path) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

}  // namespace

const std::string& FixedFunctionVertexShader() {
    static const std::string text = ReadResource(":/shaders/fixed_function.vert");
    return text;
}

const std::string& FixedFunctionFragmentShader() {
    static const std::string text = ReadResource(":/shaders/fixed_function.frag");
    return text;
}

}  // namespace tetrakon::gfx
