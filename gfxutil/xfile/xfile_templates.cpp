#include "gfxutil/xfile/xfile_templates.h"

#include <cstdint>
#include <span>

#include "gfxutil/ascii.h"
#include "gfxutil/xfile/xfile_reader_parser.h"
#include "gfxutil/xfile/xfile_text_tokenizer.h"

namespace tetrakon {
namespace {

constexpr char kStandardTemplates[] = R"(
template Header { <3D82AB43-62DA-11CF-AB39-0020AF71E433>
  WORD major; WORD minor; DWORD flags; }
template Vector { <3D82AB5E-62DA-11CF-AB39-0020AF71E433>
  FLOAT x; FLOAT y; FLOAT z; }
template Coords2d { <F6F23F44-7686-11CF-8F52-0040333594A3>
  FLOAT u; FLOAT v; }
template Matrix4x4 { <F6F23F45-7686-11CF-8F52-0040333594A3>
  array FLOAT matrix[16]; }
template ColorRGBA { <35FF44E0-6C7C-11CF-8F52-0040333594A3>
  FLOAT red; FLOAT green; FLOAT blue; FLOAT alpha; }
template ColorRGB { <D3E16E81-7835-11CF-8F52-0040333594A3>
  FLOAT red; FLOAT green; FLOAT blue; }
template IndexedColor { <1630B820-7842-11CF-8F52-0040333594A3>
  DWORD index; ColorRGBA indexColor; }
template Boolean { <4885AE61-78E8-11CF-8F52-0040333594A3>
  WORD truefalse; }
template Boolean2d { <4885AE63-78E8-11CF-8F52-0040333594A3>
  Boolean u; Boolean v; }
template MaterialWrap { <4885AE60-78E8-11CF-8F52-0040333594A3>
  Boolean u; Boolean v; }
template TextureFilename { <A42790E1-7810-11CF-8F52-0040333594A3>
  STRING filename; }
template Material { <3D82AB4D-62DA-11CF-AB39-0020AF71E433>
  ColorRGBA faceColor; FLOAT power; ColorRGB specularColor; ColorRGB emissiveColor; [...] }
template MeshFace { <3D82AB5F-62DA-11CF-AB39-0020AF71E433>
  DWORD nFaceVertexIndices; array DWORD faceVertexIndices[nFaceVertexIndices]; }
template MeshFaceWraps { <4885AE62-78E8-11CF-8F52-0040333594A3>
  DWORD nFaceWrapValues; array Boolean2d faceWrapValues[nFaceWrapValues]; }
template MeshTextureCoords { <F6F23F40-7686-11CF-8F52-0040333594A3>
  DWORD nTextureCoords; array Coords2d textureCoords[nTextureCoords]; }
template MeshMaterialList { <F6F23F42-7686-11CF-8F52-0040333594A3>
  DWORD nMaterials; DWORD nFaceIndexes; array DWORD faceIndexes[nFaceIndexes]; [Material] }
template MeshNormals { <F6F23F43-7686-11CF-8F52-0040333594A3>
  DWORD nNormals; array Vector normals[nNormals];
  DWORD nFaceNormals; array MeshFace faceNormals[nFaceNormals]; }
template MeshVertexColors { <1630B821-7842-11CF-8F52-0040333594A3>
  DWORD nVertexColors; array IndexedColor vertexColors[nVertexColors]; }
template Mesh { <3D82AB44-62DA-11CF-AB39-0020AF71E433>
  DWORD nVertices; array Vector vertices[nVertices];
  DWORD nFaces; array MeshFace faces[nFaces]; [...] }
template FrameTransformMatrix { <F6F23F41-7686-11CF-8F52-0040333594A3>
  Matrix4x4 frameMatrix; }
template Frame { <3D82AB46-62DA-11CF-AB39-0020AF71E433>
  [...] }
template FloatKeys { <10DD46A9-775B-11CF-8F52-0040333594A3>
  DWORD nValues; array FLOAT values[nValues]; }
template TimedFloatKeys { <F406B180-7B3B-11CF-8F52-0040333594A3>
  DWORD time; FloatKeys tfkeys; }
template AnimationKey { <10DD46A8-775B-11CF-8F52-0040333594A3>
  DWORD keyType; DWORD nKeys; array TimedFloatKeys keys[nKeys]; }
template AnimationOptions { <E2BF56C0-840F-11CF-8F52-0040333594A3>
  DWORD openclosed; DWORD positionquality; }
template Animation { <3D82AB4F-62DA-11CF-AB39-0020AF71E433>
  [...] }
template AnimationSet { <3D82AB50-62DA-11CF-AB39-0020AF71E433>
  [Animation <3D82AB4F-62DA-11CF-AB39-0020AF71E433>] }
template AnimTicksPerSecond { <9E415A43-7BA6-4A73-8743-B73D47E88476>
  DWORD AnimTicksPerSecond; }
template XSkinMeshHeader { <3CF169CE-FF7C-44AB-93C0-F78F62D172E2>
  WORD nMaxSkinWeightsPerVertex; WORD nMaxSkinWeightsPerFace; WORD nBones; }
template VertexDuplicationIndices { <B8D65549-D7C9-4995-89CF-53A9A8B031E3>
  DWORD nIndices; DWORD nOriginalVertices; array DWORD indices[nIndices]; }
template SkinWeights { <6F0D123B-BAD2-4167-A0D0-80224F25FABB>
  STRING transformNodeName; DWORD nWeights; array DWORD vertexIndices[nWeights];
  array FLOAT weights[nWeights]; Matrix4x4 matrixOffset; }
template VertexElement { <F752461C-1E23-48F6-B9F8-8350850F336F>
  DWORD Type; DWORD Method; DWORD Usage; DWORD UsageIndex; }
template DeclData { <BF22E553-292C-4781-9FEA-62BD554BDD93>
  DWORD nElements; array VertexElement Elements[nElements];
  DWORD nDWords; array DWORD data[nDWords]; }
template FVFData { <B6E70A0E-8EF9-4E83-94AD-ECC8B0C04897>
  DWORD dwFVF; DWORD nDWords; array DWORD data[nDWords]; }
)";

const XTemplate* FindIn(const std::vector<XTemplate>& templates, std::string_view name,
                        bool ignoreCase) {
    for (const XTemplate& t : templates) {
        if (ignoreCase ? EqualsIgnoringCase(t.name, name) : t.name == name)
            return &t;
    }
    return nullptr;
}

}  // namespace

const std::vector<XTemplate>& StandardXTemplates() {
    static const std::vector<XTemplate> templates = [] {
        XFile parsed;
        const std::span<const std::uint8_t> text(
            reinterpret_cast<const std::uint8_t*>(kStandardTemplates),
            sizeof kStandardTemplates - 1);
        XTextTokenizer tokenizer(text);
        ParseXTokens(&tokenizer, text.size(), &parsed);
        return std::move(parsed.templates);
    }();
    return templates;
}

namespace {

std::string LowerCase(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

}  // namespace

XTemplateLookup::XTemplateLookup(const XFile& file) {
    // The file's own definitions first, so that they win over the standard ones.
    for (const auto* templates : {&file.templates, &StandardXTemplates()}) {
        for (const XTemplate& t : *templates) {
            exact_.try_emplace(t.name, &t);
            folded_.try_emplace(LowerCase(t.name), &t);
        }
    }
}

const XTemplate* XTemplateLookup::Find(std::string_view name) const {
    if (const auto it = exact_.find(name); it != exact_.end())
        return it->second;
    const auto it = folded_.find(LowerCase(name));
    return it == folded_.end() ? nullptr : it->second;
}

const XTemplate* FindXTemplate(const XFile& file, std::string_view name) {
    for (bool ignoreCase : {false, true}) {
        if (const XTemplate* t = FindIn(file.templates, name, ignoreCase))
            return t;
        if (const XTemplate* t = FindIn(StandardXTemplates(), name, ignoreCase))
            return t;
    }
    return nullptr;
}

}  // namespace tetrakon
