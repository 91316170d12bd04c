#include "tests/fakes/fake_device.h"

#include <cstring>

namespace tetrakon::gfx {

namespace {

const char* TransformName(TransformState state) {
    switch (state) {
        case TransformState::World:
            return "World";
        case TransformState::View:
            return "View";
        case TransformState::Projection:
            return "Projection";
    }
    return "?";
}

std::string Str(std::uint32_t value) {
    return std::to_string(value);
}

}  // namespace

std::vector<std::string> CallLog::Matching(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& call : calls) {
        if (call.rfind(prefix, 0) == 0) {
            out.push_back(call);
        }
    }
    return out;
}

FakeDevice::FakeDevice(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

FakeDevice::~FakeDevice() = default;

Result FakeDevice::TestCooperativeLevel() {
    log_->Add("TestCooperativeLevel");
    return cooperativeLevel;
}

Result FakeDevice::Reset(const PresentParameters& params) {
    log_->Add("Reset " + Str(params.backBufferWidth) + "x" + Str(params.backBufferHeight));
    lastReset = params;
    if (Succeeded(resetResult)) {
        backBuffer.width = params.backBufferWidth;
        backBuffer.height = params.backBufferHeight;
        cooperativeLevel = S_OK;
    }
    return resetResult;
}

Result FakeDevice::Present() {
    log_->Add("Present");
    return presentResult;
}

Result FakeDevice::GetBackBufferDesc(SurfaceDesc* out) {
    *out = backBuffer;
    return S_OK;
}

Result FakeDevice::GetDeviceCaps(DeviceCaps* out) {
    *out = caps;
    return S_OK;
}

std::uint32_t FakeDevice::Release() {
    log_->Add("Release");
    released = true;
    return LiveResources();
}

Result FakeDevice::Clear(std::uint32_t flags, std::uint32_t color, float, std::uint32_t) {
    log_->Add("Clear " + Str(flags) + " " + Str(color));
    return S_OK;
}

Result FakeDevice::BeginScene() {
    log_->Add("BeginScene");
    return beginSceneResult;
}

Result FakeDevice::EndScene() {
    log_->Add("EndScene");
    return S_OK;
}

Result FakeDevice::SetTransform(TransformState state, const Matrix& matrix) {
    log_->Add(std::string("SetTransform ") + TransformName(state));
    transforms[static_cast<std::size_t>(state)] = matrix;
    return S_OK;
}

Result FakeDevice::GetTransform(TransformState state, Matrix* out) {
    *out = transforms[static_cast<std::size_t>(state)];
    return S_OK;
}

Result FakeDevice::SetLight(std::uint32_t index, const Light& light) {
    log_->Add("SetLight " + Str(index));
    if (index >= lights.size()) {
        return D3DERR_INVALIDCALL;
    }
    lights[index] = light;
    return S_OK;
}

Result FakeDevice::LightEnable(std::uint32_t index, bool enable) {
    log_->Add("LightEnable " + Str(index) + " " + Str(enable ? 1 : 0));
    if (index >= lightEnabled.size()) {
        return D3DERR_INVALIDCALL;
    }
    lightEnabled[index] = enable;
    return S_OK;
}

Result FakeDevice::SetMaterial(const SurfaceMaterial& newMaterial) {
    log_->Add("SetMaterial");
    material = newMaterial;
    return S_OK;
}

Result FakeDevice::SetRenderState(RenderState state, std::uint32_t value) {
    log_->Add("SetRenderState " + Str(static_cast<std::uint32_t>(state)) + " " + Str(value));
    renderStates[state] = value;
    return S_OK;
}

Result FakeDevice::SetTextureStageState(std::uint32_t stage, TextureStageState state,
                                        std::uint32_t value) {
    log_->Add("SetTextureStageState " + Str(stage) + " " + Str(static_cast<std::uint32_t>(state)) +
              " " + Str(value));
    return S_OK;
}

Result FakeDevice::SetSamplerState(std::uint32_t sampler, SamplerState state, std::uint32_t value) {
    log_->Add("SetSamplerState " + Str(sampler) + " " + Str(static_cast<std::uint32_t>(state)) +
              " " + Str(value));
    return S_OK;
}

Result FakeDevice::SetTexture(std::uint32_t stage, Texture* texture) {
    log_->Add("SetTexture " + Str(stage) + (texture ? " texture" : " null"));
    if (stage >= textures.size()) {
        return D3DERR_INVALIDCALL;
    }
    textures[stage] = texture;
    return S_OK;
}

Result FakeDevice::CreateVertexBuffer(std::uint32_t sizeInBytes, VertexFormat,
                                      std::unique_ptr<VertexBuffer>* out) {
    log_->Add("CreateVertexBuffer " + Str(sizeInBytes));
    if (Failed(createVertexBufferResult)) {
        return createVertexBufferResult;
    }
    *out = std::make_unique<FakeVertexBuffer>(live_, sizeInBytes);
    return S_OK;
}

Result FakeDevice::CreateTexture(std::uint32_t width, std::uint32_t height, const std::uint32_t*,
                                 std::unique_ptr<Texture>* out) {
    log_->Add("CreateTexture " + Str(width) + "x" + Str(height));
    if (Failed(createTextureResult)) {
        return createTextureResult;
    }
    *out = std::make_unique<FakeTexture>(live_, width, height);
    return S_OK;
}

Result FakeDevice::CreateMesh(const Mesh& source, std::unique_ptr<DeviceMesh>* out) {
    log_->Add("CreateMesh " + Str(static_cast<std::uint32_t>(source.faces.size())));
    if (Failed(createMeshResult)) {
        return createMeshResult;
    }
    *out = std::make_unique<FakeDeviceMesh>(live_, source);
    return S_OK;
}

Result FakeDevice::DrawSubset(DeviceMesh& mesh, std::uint32_t subset) {
    log_->Add("DrawSubset " + Str(subset));
    return subset < mesh.SubsetCount() ? S_OK : D3DERR_INVALIDCALL;
}

Result FakeDevice::DrawPrimitive(PrimitiveType, VertexBuffer&, std::uint32_t startVertex,
                                 std::uint32_t primitiveCount) {
    log_->Add("DrawPrimitive " + Str(startVertex) + " " + Str(primitiveCount));
    return S_OK;
}

FakeVertexBuffer::FakeVertexBuffer(std::shared_ptr<int> live, std::uint32_t size)
    : bytes(size), live_(std::move(live)) {
    ++*live_;
}

FakeVertexBuffer::~FakeVertexBuffer() {
    --*live_;
}

std::uint32_t FakeVertexBuffer::SizeInBytes() const {
    return static_cast<std::uint32_t>(bytes.size());
}

Result FakeVertexBuffer::Write(std::uint32_t offset, const void* data, std::uint32_t size) {
    if (Failed(writeResult)) {
        return writeResult;
    }
    if (offset > bytes.size() || size > bytes.size() - offset) {
        return D3DERR_INVALIDCALL;
    }
    std::memcpy(bytes.data() + offset, data, size);
    return S_OK;
}

FakeTexture::FakeTexture(std::shared_ptr<int> live, std::uint32_t width, std::uint32_t height)
    : live_(std::move(live)), width_(width), height_(height) {
    ++*live_;
}

FakeTexture::~FakeTexture() {
    --*live_;
}

FakeDeviceMesh::FakeDeviceMesh(std::shared_ptr<int> live, const Mesh& mesh)
    : source(mesh), live_(std::move(live)) {
    ++*live_;
}

FakeDeviceMesh::~FakeDeviceMesh() {
    --*live_;
}

std::uint32_t FakeDeviceMesh::SubsetCount() const {
    return static_cast<std::uint32_t>(source.subsets.size());
}

}  // namespace tetrakon::gfx
