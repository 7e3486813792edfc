// Scaling the finished 640 x 480 picture into the frame buffer bound for
// drawing, by the scaling plan: a nearest-pixel copy for whole-number steps,
// and sharp bilinear for a fill. Sharp bilinear is one textured draw where
// shaders exist (each screen pixel samples the picture as if it had first
// been enlarged by the whole multiple with nearest pixels and then filtered
// down), else those two copies, through an intermediate picture.
#pragma once
#include "gfx/gl.h"
#include "host/scaling.h"

// The one-pass fill's vertex shader (GLSL 1.10): it feeds the fill's shader
// (host/fill_shader.h) the enlarged picture's `place` of each screen pixel.
extern const char* const fillVertexSource;

// A picture-sized frame buffer whose colour is a texture, so that it can be
// both drawn into and sampled; with a depth buffer when the game draws in it.
struct PictureBuffer {
    GLuint framebuffer;
    GLuint texture;
    GLuint depth;
};

// Makes `buffer` (all zero) in the current context; false, and nothing kept,
// when the frame buffer is not complete. Leaves frame buffer 0 bound.
bool createPictureBuffer(PictureBuffer* buffer, bool withDepth);
void deletePictureBuffer(PictureBuffer* buffer);

// Copies one picture buffer into another, pixel for pixel. Leaves `from`
// bound for reading and `to` for drawing.
void copyPicture(const PictureBuffer& from, const PictureBuffer& to);

// How a fill is filtered: the one-pass draw where the context has shaders,
// or the two copies (kept as the fallback, and to compare with).
enum class SharpMethod { OnePass, TwoCopies };

// Builds the one-pass program in the current context (lookUpGlCalls first);
// false, and the two copies used, where shaders are missing or fail.
bool startScaler();
void stopScaler();

// Draws `source` scaled by `plan` into the frame buffer bound for drawing, of
// width x height pixels, with black around it; the drawing state the game
// sees is left as it was. Leaves `source` bound for reading. A present may
// draw the picture in bands over several frames: `rows` rows of the scaled
// picture from `firstRow` (counted from its bottom; -1: to the top), the bars
// cleared with the band at row 0.
void scalePicture(const PictureBuffer& source, const ScalePlan& plan, int width, int height,
                  SharpMethod method = SharpMethod::OnePass, int firstRow = 0, int rows = -1);
