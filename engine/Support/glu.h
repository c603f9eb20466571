#pragma once
// The two GLU matrix routines the engine needs, over the fixed-function matrix stack:
// each multiplies the current matrix.
#include <GLES/gl.h>

void gluPerspective(GLfloat fovy, GLfloat aspect, GLfloat zNear, GLfloat zFar);
void gluLookAt(GLfloat eyeX, GLfloat eyeY, GLfloat eyeZ, GLfloat centerX, GLfloat centerY, GLfloat centerZ,
               GLfloat upX, GLfloat upY, GLfloat upZ);
