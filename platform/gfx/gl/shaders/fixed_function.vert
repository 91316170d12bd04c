// The GLSL version (and on OpenGL ES the precisions) come before this, from the context's
// API; the attribute locations are bound when the program is linked.
in vec3 position;
in vec3 normal;
in vec4 colorBgra;
in vec2 texcoord;

uniform mat4 worldViewProjection;
uniform mat3 normalMatrix;
uniform bool lightingOn;
uniform bool vertexHasColor;
uniform bool normalizeNormals;
uniform vec3 globalAmbient;
uniform vec4 materialDiffuse;
uniform vec3 materialAmbient;
uniform vec3 materialEmissive;
uniform int lightCount;
uniform vec3 lightDirection[8];
uniform vec3 lightDiffuse[8];
uniform vec3 lightAmbient[8];

out vec4 litColor;
out vec2 uv;

void main() {
    vec4 clip = worldViewProjection * vec4(position, 1.0);
    // The projection matrices put depth in [0, w]; OpenGL clips depth to [-w, w].
    gl_Position = vec4(clip.xy, 2.0 * clip.z - clip.w, clip.w);
    uv = texcoord;
    vec4 vertexColor = colorBgra.bgra;
    if (!lightingOn) {
        litColor = vertexHasColor ? vertexColor : vec4(1.0);
        return;
    }
    vec3 n = normalMatrix * normal;
    if (normalizeNormals && length(n) > 0.0) {
        n = normalize(n);
    }
    vec4 reflectance = vertexHasColor ? vertexColor : materialDiffuse;
    vec3 ambient = globalAmbient;
    vec3 diffuse = vec3(0.0);
    for (int i = 0; i < lightCount; ++i) {
        float facing = max(0.0, -dot(n, lightDirection[i]));
        ambient += lightAmbient[i];
        diffuse += lightDiffuse[i] * facing;
    }
    vec3 colour = materialEmissive + materialAmbient * ambient + reflectance.rgb * diffuse;
    litColor = clamp(vec4(colour, reflectance.a), 0.0, 1.0);
}
