// The sharp bilinear fill's fragment shader, one text for every host: each
// puts its own first line in front (the GLSL version natively, the float
// precision in the browser) and feeds it `place` from its vertex shader.
#pragma once

// `place` is the screen pixel's place in the whole-multiple enlargement of
// the picture, in its pixels, less half a pixel as a linear filter counts.
// The two enlarged pixels a linear filter would blend there come from one
// picture pixel (sampled at its centre) or from two neighbours (sampled
// between them, at the same weight), so the result is the two copies'. An
// enlarged pixel's picture pixel is found from its centre, half a pixel in
// from the source edge: from the edge itself, a whole number, a product
// with 1 / multiple a little low (as a GPU's may be) would floor it into
// the picture pixel before.
//   uniforms: picture (the 640 x 480 picture's texture), size (640, 480),
//   perMultiple (1 / the whole multiple)
inline constexpr const char* fillShaderBody =
    "uniform sampler2D picture;\n"
    "uniform float perMultiple;\n" // 1 / the whole-number enlargement
    "uniform vec2 size;\n"         // the picture's, in its pixels
    "varying vec2 place;\n"
    "void main()\n"
    "{\n"
    "    vec2 left = floor(place);\n"
    "    vec2 k0 = floor((left + 0.5) * perMultiple);\n"
    "    vec2 k1 = floor((left + 1.5) * perMultiple);\n"
    "    gl_FragColor = texture2D(picture, (k0 + 0.5 + (k1 - k0) * (place - left)) / size);\n"
    "}\n";
