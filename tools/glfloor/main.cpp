// glfloor: a bare Qt 6 window that makes an OpenGL 3.3 core context, draws one red
// triangle into a 4-sample framebuffer and resolves it into the window, as the game's
// device does with its scene. Its start-up time and memory are the floor the game's
// figures are compared with; it links nothing but Qt GUI. Given a file name, it writes the
// time of each frame it shows there, in milliseconds since 1970, as the game's frame log
// does.

#include <QExposeEvent>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QSurfaceFormat>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <utility>

namespace {

constexpr const char* kVertexShader = R"(#version 330 core
const vec2 corners[3] = vec2[3](vec2(-0.8, -0.8), vec2(0.8, -0.8), vec2(0.0, 0.8));
void main() { gl_Position = vec4(corners[gl_VertexID], 0.0, 1.0); }
)";

// The pyramid's red, which the figures script counts to see the first frame.
constexpr const char* kFragmentShader = R"(#version 330 core
out vec4 colour;
void main() { colour = vec4(0xDF / 255.0, 0.0, 0.0, 1.0); }
)";

class FloorWindow : public QWindow {
  public:
    explicit FloorWindow(const char* frameLog) : frameLog_(frameLog) {
        setSurfaceType(QSurface::OpenGLSurface);
        setTitle(QStringLiteral("glfloor"));
        resize(532, 400);
    }

  protected:
    void exposeEvent(QExposeEvent* /*event*/) override {
        if (isExposed()) {
            Draw();
        }
    }

  private:
    bool Start() {
        QSurfaceFormat format = requestedFormat();
        format.setVersion(3, 3);
        format.setProfile(QSurfaceFormat::CoreProfile);
        context_.setFormat(format);
        if (!context_.create() || !context_.makeCurrent(this)) {
            std::fputs("glfloor: no OpenGL 3.3 context\n", stderr);
            return false;
        }
        gl_ = context_.extraFunctions();
        program_ = gl_->glCreateProgram();
        const std::pair<GLenum, const char*> stages[] = {{GL_VERTEX_SHADER, kVertexShader},
                                                         {GL_FRAGMENT_SHADER, kFragmentShader}};
        for (auto [type, source] : stages) {
            const GLuint shader = gl_->glCreateShader(type);
            gl_->glShaderSource(shader, 1, &source, nullptr);
            gl_->glCompileShader(shader);
            gl_->glAttachShader(program_, shader);
            gl_->glDeleteShader(shader);
        }
        gl_->glLinkProgram(program_);
        gl_->glGenVertexArrays(1, &vertexArray_);
        return true;
    }

    // A 4-sample colour and depth buffer of the window's size, made again when it changes.
    void FitSampledBuffer(int width, int height) {
        if (width == width_ && height == height_) {
            return;
        }
        width_ = width;
        height_ = height;
        if (framebuffer_ == 0) {
            gl_->glGenFramebuffers(1, &framebuffer_);
            gl_->glGenRenderbuffers(2, renderbuffers_);
        }
        gl_->glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        const GLenum formats[2] = {GL_RGBA8, GL_DEPTH24_STENCIL8};
        const GLenum attachments[2] = {GL_COLOR_ATTACHMENT0, GL_DEPTH_STENCIL_ATTACHMENT};
        for (int i = 0; i < 2; ++i) {
            gl_->glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[i]);
            gl_->glRenderbufferStorageMultisample(GL_RENDERBUFFER, 4, formats[i], width, height);
            gl_->glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachments[i], GL_RENDERBUFFER,
                                           renderbuffers_[i]);
        }
    }

    void Draw() {
        if (gl_ == nullptr && !Start()) {
            QGuiApplication::exit(1);
            return;
        }
        context_.makeCurrent(this);
        const int width = static_cast<int>(this->width() * devicePixelRatio());
        const int height = static_cast<int>(this->height() * devicePixelRatio());
        FitSampledBuffer(width, height);
        gl_->glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        gl_->glViewport(0, 0, width, height);
        gl_->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        gl_->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        gl_->glUseProgram(program_);
        gl_->glBindVertexArray(vertexArray_);
        gl_->glDrawArrays(GL_TRIANGLES, 0, 3);
        gl_->glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
        gl_->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, context_.defaultFramebufferObject());
        gl_->glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                               GL_NEAREST);
        context_.swapBuffers(this);
        LogFrame();
    }

    void LogFrame() const {
        if (frameLog_ == nullptr) {
            return;
        }
        if (std::FILE* log = std::fopen(frameLog_, "a")) {
            const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
            std::fprintf(log, "%.3f\n",
                         std::chrono::duration<double, std::milli>(sinceEpoch).count());
            std::fclose(log);
        }
    }

    const char* frameLog_;
    QOpenGLContext context_;
    QOpenGLExtraFunctions* gl_ = nullptr;
    GLuint program_ = 0;
    GLuint vertexArray_ = 0;
    GLuint framebuffer_ = 0;
    GLuint renderbuffers_[2] = {0, 0};
    int width_ = 0;
    int height_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    FloorWindow window(argc > 1 ? argv[1] : nullptr);
    window.show();
    return QGuiApplication::exec();
}
