#include "platform/gfx/gl/gl_resources.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "platform/gfx/rgba_bytes.h"

#include "platform/gfx/gl/vertex_attributes.h"

namespace tetrakon::gfx {

namespace {

bool NoGlError(QOpenGLExtraFunctions* gl) {
    bool clean = true;
    while (gl->glGetError() != GL_NO_ERROR) {
        clean = false;
    }
    return clean;
}

GLsizeiptr ByteCount(std::size_t count, std::size_t elementSize) {
    return static_cast<GLsizeiptr>(count * elementSize);
}

GLsizei MipmapLevels(std::uint32_t width, std::uint32_t height) {
    return static_cast<GLsizei>(std::bit_width(std::max(width, height)));
}

}  // namespace

GlVertexBuffer::GlVertexBuffer(std::shared_ptr<GlContextHome> home, std::uint32_t size,
                               VertexFormat format)
    : home_(std::move(home)), size_(size), format_(format) {
    home_->ResourceCreated();
}

std::unique_ptr<GlVertexBuffer> GlVertexBuffer::Create(std::shared_ptr<GlContextHome> home,
                                                       std::uint32_t size, VertexFormat format) {
    if (!home->MakeCurrent()) {
        return nullptr;
    }
    std::unique_ptr<GlVertexBuffer> buffer(new GlVertexBuffer(home, size, format));
    QOpenGLExtraFunctions* gl = home->gl();
    NoGlError(gl);
    gl->glGenBuffers(1, &buffer->buffer_);
    gl->glBindBuffer(GL_ARRAY_BUFFER, buffer->buffer_);
    gl->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(size), nullptr, GL_DYNAMIC_DRAW);
    gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (!NoGlError(gl)) {
        return nullptr;
    }
    return buffer;
}

GlVertexBuffer::~GlVertexBuffer() {
    if (home_->MakeCurrent()) {
        home_->gl()->glDeleteBuffers(1, &buffer_);
    }
    home_->ResourceDestroyed();
}

Result GlVertexBuffer::Write(std::uint32_t offset, const void* data, std::uint32_t size) {
    if (data == nullptr || offset > size_ || size > size_ - offset) {
        return D3DERR_INVALIDCALL;
    }
    if (!home_->MakeCurrent()) {
        return D3DERR_INVALIDCALL;
    }
    QOpenGLExtraFunctions* gl = home_->gl();
    gl->glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    gl->glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset),
                        static_cast<GLsizeiptr>(size), data);
    gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
    return NoGlError(gl) ? S_OK : E_FAIL;
}

GlTexture::GlTexture(std::shared_ptr<GlContextHome> home, std::uint32_t width, std::uint32_t height)
    : home_(std::move(home)), width_(width), height_(height) {
    home_->ResourceCreated();
}

std::unique_ptr<GlTexture> GlTexture::Create(std::shared_ptr<GlContextHome> home,
                                             std::uint32_t width, std::uint32_t height,
                                             const std::uint32_t* pixels, bool textureStorage) {
    if (!home->MakeCurrent()) {
        return nullptr;
    }
    std::unique_ptr<GlTexture> texture(new GlTexture(home, width, height));
    QOpenGLExtraFunctions* gl = home->gl();
    NoGlError(gl);
    gl->glGenTextures(1, &texture->texture_);
    gl->glBindTexture(GL_TEXTURE_2D, texture->texture_);
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl->glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    const auto w = static_cast<GLsizei>(width);
    const auto h = static_cast<GLsizei>(height);
    // Immutable storage takes every mipmap level at once. A texture given level 0 alone is
    // reallocated with its whole chain when the mipmaps are generated, with both copies
    // alive for a moment: 2.3 times the picture's size instead of 1.3.
    if (textureStorage) {
        gl->glTexStorage2D(GL_TEXTURE_2D, MipmapLevels(width, height), GL_RGBA8, w, h);
    } else {
        gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
    // The first row is v = 0, the top. The words go up as R, G, B, A bytes, which every
    // OpenGL takes, a band of rows at a time so that the converted copy stays small.
    constexpr std::uint32_t kBandRows = 64;
    std::vector<std::uint8_t> band(std::size_t{width} * std::min(height, kBandRows) * 4);
    for (std::uint32_t row = 0; row < height; row += kBandRows) {
        const std::uint32_t rows = std::min(kBandRows, height - row);
        ArgbToRgbaBytes(pixels + std::size_t{row} * width, std::size_t{rows} * width, band.data());
        gl->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, static_cast<GLint>(row), w,
                            static_cast<GLsizei>(rows), GL_RGBA, GL_UNSIGNED_BYTE, band.data());
    }
    gl->glGenerateMipmap(GL_TEXTURE_2D);
    gl->glBindTexture(GL_TEXTURE_2D, 0);
    if (!NoGlError(gl)) {
        return nullptr;
    }
    return texture;
}

GlTexture::~GlTexture() {
    if (home_->boundTexture == this) {
        home_->boundTexture = nullptr;
    }
    if (home_->MakeCurrent()) {
        home_->gl()->glDeleteTextures(1, &texture_);
    }
    home_->ResourceDestroyed();
}

GlDeviceMesh::GlDeviceMesh(std::shared_ptr<GlContextHome> home) : home_(std::move(home)) {
    home_->ResourceCreated();
}

std::unique_ptr<GlDeviceMesh> GlDeviceMesh::Create(std::shared_ptr<GlContextHome> home,
                                                   const MeshDrawData& data) {
    if (!home->MakeCurrent()) {
        return nullptr;
    }
    std::unique_ptr<GlDeviceMesh> mesh(new GlDeviceMesh(home));
    mesh->subsets_ = data.subsets;
    QOpenGLExtraFunctions* gl = home->gl();
    NoGlError(gl);
    gl->glGenVertexArrays(1, &mesh->vertexArray_);
    gl->glGenBuffers(1, &mesh->vertexBuffer_);
    gl->glGenBuffers(1, &mesh->indexBuffer_);
    gl->glBindVertexArray(mesh->vertexArray_);
    gl->glBindBuffer(GL_ARRAY_BUFFER, mesh->vertexBuffer_);
    gl->glBufferData(GL_ARRAY_BUFFER, ByteCount(data.vertices.size(), sizeof(float)),
                     data.vertices.data(), GL_STATIC_DRAW);
    gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh->indexBuffer_);
    gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER, ByteCount(data.indices.size(), sizeof(std::uint32_t)),
                     data.indices.data(), GL_STATIC_DRAW);
    PointMeshAttributes(gl);
    gl->glBindVertexArray(0);
    gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (!NoGlError(gl)) {
        return nullptr;
    }
    return mesh;
}

GlDeviceMesh::~GlDeviceMesh() {
    if (home_->MakeCurrent()) {
        QOpenGLExtraFunctions* gl = home_->gl();
        gl->glDeleteVertexArrays(1, &vertexArray_);
        gl->glDeleteBuffers(1, &vertexBuffer_);
        gl->glDeleteBuffers(1, &indexBuffer_);
    }
    home_->ResourceDestroyed();
}

}  // namespace tetrakon::gfx
