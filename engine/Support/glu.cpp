#include "glu.h"

#include <cmath>

void gluPerspective(GLfloat fovy, GLfloat aspect, GLfloat zNear, GLfloat zFar) {
    const GLfloat ymax = zNear * std::tan(fovy * static_cast<GLfloat>(M_PI) / 360.0f);
    const GLfloat ymin = -ymax;
    const GLfloat xmin = ymin * aspect;
    const GLfloat xmax = ymax * aspect;
    glFrustumf(xmin, xmax, ymin, ymax, zNear, zFar);
}

namespace {
void normalizeIfNonZero(GLfloat v[3]) {
    const GLfloat length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length != 0) {
        v[0] /= length;
        v[1] /= length;
        v[2] /= length;
    }
}

void cross(const GLfloat a[3], const GLfloat b[3], GLfloat out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}
} // namespace

void gluLookAt(GLfloat eyeX, GLfloat eyeY, GLfloat eyeZ, GLfloat centerX, GLfloat centerY, GLfloat centerZ,
               GLfloat upX, GLfloat upY, GLfloat upZ) {
    GLfloat forward[3] = {centerX - eyeX, centerY - eyeY, centerZ - eyeZ};
    GLfloat up[3] = {upX, upY, upZ};
    normalizeIfNonZero(forward);
    GLfloat side[3];
    cross(forward, up, side);
    normalizeIfNonZero(side);
    // The corrected up vector, perpendicular to both.
    cross(side, forward, up);
    normalizeIfNonZero(up);

    GLfloat m[16] = {side[0], up[0], -forward[0], 0, side[1], up[1], -forward[1], 0,
                     side[2], up[2], -forward[2], 0, 0,       0,     0,           1};
    glMultMatrixf(m);
    glTranslatef(-eyeX, -eyeY, -eyeZ);
}
