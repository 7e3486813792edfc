// 4 x 4 matrices as OpenGL 1.1 keeps them (column by column), and the
// products that its matrix calls make.
#pragma once

struct Matrix {
    double m[16]; // column-major: m[column * 4 + row]

    static Matrix identity();
    static Matrix translation(double x, double y, double z);
    static Matrix scaling(double x, double y, double z);
    static Matrix rotation(double degrees, double x, double y, double z);
    static Matrix perspective(double fovyDegrees, double aspect, double zNear, double zFar);
    static Matrix orthographic(double left, double right, double bottom, double top, double zNear,
                               double zFar);

    Matrix operator*(const Matrix& other) const;
    // This matrix applied to the point (x, y, z, 1): out[0..3].
    void apply(double x, double y, double z, float out[4]) const;
};
