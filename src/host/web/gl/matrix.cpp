// The matrices of OpenGL 1.1's matrix calls and GLU's projections.
#include "host/web/gl/matrix.h"

#include <cmath>

Matrix Matrix::identity() { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}; }

Matrix Matrix::translation(double x, double y, double z)
{
    Matrix t = identity();
    t.m[12]  = x;
    t.m[13]  = y;
    t.m[14]  = z;
    return t;
}

Matrix Matrix::scaling(double x, double y, double z)
{
    Matrix s = identity();
    s.m[0]   = x;
    s.m[5]   = y;
    s.m[10]  = z;
    return s;
}

Matrix Matrix::rotation(double degrees, double x, double y, double z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0)
        return identity();
    x /= length;
    y /= length;
    z /= length;
    const double a = degrees * M_PI / 180.0, c = std::cos(a), s = std::sin(a), k = 1.0 - c;
    return {{x * x * k + c, y * x * k + z * s, x * z * k - y * s, 0, //
             x * y * k - z * s, y * y * k + c, y * z * k + x * s, 0, //
             x * z * k + y * s, y * z * k - x * s, z * z * k + c, 0, //
             0, 0, 0, 1}};
}

Matrix Matrix::perspective(double fovyDegrees, double aspect, double zNear, double zFar)
{
    const double f     = 1.0 / std::tan(fovyDegrees * M_PI / 360.0);
    const double depth = zNear - zFar;
    Matrix       p     = {};
    p.m[0]             = f / aspect;
    p.m[5]             = f;
    p.m[10]            = (zFar + zNear) / depth;
    p.m[11]            = -1.0;
    p.m[14]            = 2.0 * zFar * zNear / depth;
    return p;
}

Matrix Matrix::orthographic(double left, double right, double bottom, double top, double zNear,
                            double zFar)
{
    Matrix o = identity();
    o.m[0]   = 2.0 / (right - left);
    o.m[5]   = 2.0 / (top - bottom);
    o.m[10]  = -2.0 / (zFar - zNear);
    o.m[12]  = -(right + left) / (right - left);
    o.m[13]  = -(top + bottom) / (top - bottom);
    o.m[14]  = -(zFar + zNear) / (zFar - zNear);
    return o;
}

Matrix Matrix::operator*(const Matrix& b) const
{
    Matrix r = {};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += m[k * 4 + row] * b.m[column * 4 + k];
            r.m[column * 4 + row] = sum;
        }
    return r;
}

void Matrix::apply(double x, double y, double z, float out[4]) const
{
    for (int row = 0; row < 4; ++row)
        out[row] = static_cast<float>(m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row]);
}
