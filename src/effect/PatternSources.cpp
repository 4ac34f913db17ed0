#include "effect/PatternSources.h"

const char* const patternVertexSource =
    "void main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; gl_TexCoord[0] = "
    "gl_MultiTexCoord0; gl_FrontColor = gl_Color; }";

// One line of GLSL. Two guards keep the look the same on every driver: a softness of 0 is the
// hard step the soft edge tends to, and the centre fragment gets the angle 0.
const char* const patternFragmentSource =
    "uniform float time; uniform float time2; uniform int but1; uniform float alphaMode; "
    "uniform vec2 mouse; uniform vec2 resolution; uniform vec4 inputColour; "
    "void main() { "
    "vec2 p = gl_FragCoord.xy / resolution; "
    "p = p - 0.5; "
    "p.x = p.x * (resolution.x / resolution.y); "
    "p = p * (5.0 * (inputColour.g + 0.1)); "
    "float a = ((p.x == 0.0 && p.y == 0.0) ? 0.0 : atan(p.x, p.y)) + smoothstep(0.1, 1.2, "
    "sin(length(p * 5.0) * 20.0 * pow(mouse.x, 4.0) + time2 * 15.0)); "
    "float k = mix(floor((inputColour.g + 0.1) * 20.0), (inputColour.g + 0.1) * 20.0, "
    "float(but1)); "
    "float s1 = sin(a * k + time * 15.0 + inputColour.b * 3.1415 * 2.0); "
    "float s2 = sin(-a * k + time * 15.0 + inputColour.a * 3.1415 * 2.0); "
    "float sc = sin(length(p) * 3.1415 * 5.0); "
    "float lines1 = mouse.y == 0.0 ? step(0.0, s1) : "
    "smoothstep(0.0 - mouse.y, 0.0 + mouse.y, s1); "
    "float lines2 = mouse.y == 0.0 ? step(0.0, s2) : "
    "smoothstep(0.0 - mouse.y, 0.0 + mouse.y, s2); "
    "float circle = inputColour.r == 0.0 ? step(0.0, sc) : "
    "smoothstep(0.0 - inputColour.r, 0.0 + inputColour.r, sc); "
    "float color = mix(lines1, lines2, circle); "
    "gl_FragColor = vec4(color, color, color, mix(1.0, color, alphaMode)); "
    "}";
