// The GLSL version (and on OpenGL ES the precisions) come before this, from the context's
// API. Operation and argument numbers are those of TextureOp and TextureArg.
in vec4 litColor;
in vec2 uv;

uniform sampler2D stageTexture;
uniform bool textureBound;
uniform int colorOp;
uniform int colorArg1;
uniform int colorArg2;
uniform int alphaOp;
uniform int alphaArg1;
uniform int alphaArg2;

out vec4 fragColor;

vec4 argument(int which, vec4 texel) {
    return which == 2 ? texel : litColor;
}

vec4 combine(int op, int arg1, int arg2, vec4 texel) {
    if (op == 2) return argument(arg1, texel);
    if (op == 3) return argument(arg2, texel);
    if (op == 4) return argument(arg1, texel) * argument(arg2, texel);
    return litColor;
}

void main() {
    // A stage with no texture reads opaque white, so it passes the lit colour through.
    vec4 texel = textureBound ? texture(stageTexture, uv) : vec4(1.0);
    if (colorOp == 1) {
        fragColor = litColor;
        return;
    }
    fragColor = vec4(combine(colorOp, colorArg1, colorArg2, texel).rgb,
                     combine(alphaOp, alphaArg1, alphaArg2, texel).a);
}
