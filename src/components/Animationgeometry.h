#pragma once

#include <QList>
#include <QPoint>

#include <array>
#include <vector>

// The outline figures of the window animation as pure geometry: a step goes in, polygons come
// out. Nothing here draws, so every figure can be checked without a display.

// The figure of an animation; etRandom picks one of the others for every animation.
enum TAnimationEffectType { etRandom, etSpin, etVortex, etScatterGather, etSpike, etFireworks };

// The phase handed to a figure routine.
enum TAnimationType { atInit, atDraw, atErase };

struct TFloatPoint {
    float x = 0;
    float y = 0;
};

// 3 x 3, row by row. A point is the row vector (x, y, 1), so the translation is the third row:
// x' = x*m11 + y*m21 + m31, y' = x*m12 + y*m22 + m32.
struct TMatrix {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

using TFloatPolygon = std::vector<TFloatPoint>;
// An outline in whole pixels, ready to be drawn; empty when nothing is to be drawn.
using TOutline = QList<QPoint>;

TMatrix IdentityMatrix();
TMatrix TranslationMatrix(float dx, float dy);
TMatrix ScalingMatrix(float sx, float sy, TFloatPoint pivot);
TMatrix RotationMatrix(float theta, TFloatPoint pivot);
// The transform that applies a first and then b.
TMatrix operator*(const TMatrix &a, const TMatrix &b);
TFloatPoint Transform(TFloatPoint p, const TMatrix &m);

// Polygon outline as drawn: coordinates truncated toward zero; nothing for no points or when the
// last point equals the first (a figure shrunk to a point).
TOutline OutlineOf(const TFloatPolygon &polygon);
// Rectangle around (x, y) with half sizes (hx, hy); no points when either half size is 0.
TFloatPolygon RectangleAround(float x, float y, float hx, float hy);

// The form's rectangle and the animation's settings, as every figure sees them.
struct TFigureFrame {
    TFloatPoint centre;
    float halfWidth = 0;
    float halfHeight = 0;
    int steps = 1; // at least 1
    float angle = 0;
};

TFigureFrame FigureFrameFor(int left, int top, int width, int height, int steps, float angle);

// 2 pi for spin and fireworks, pi for vortex and spike, 6 for scatter-gather.
float AngleParameter(TAnimationEffectType type);

std::vector<TFloatPolygon> SpinFrame(const TFigureFrame &frame, int step);

TMatrix VortexTurn(const TFigureFrame &frame);
std::vector<TFloatPolygon> VortexFrames(const TFigureFrame &frame, const TMatrix &turn, int step);

std::vector<TFloatPolygon> ScatterGatherFrames(const TFigureFrame &frame, int step);

constexpr int SpikeCount = 16;
struct TSpikeTables {
    std::array<TFloatPoint, SpikeCount> centre;
    std::array<TFloatPoint, SpikeCount> firstEdge;
    std::array<TFloatPoint, SpikeCount> secondEdge;
    std::array<TFloatPoint, SpikeCount> centroid;
    std::array<TFloatPoint, SpikeCount> target;
    std::array<TMatrix, SpikeCount> move; // centroid onto target
};
TSpikeTables MakeSpikeTables(const TFigureFrame &frame);
std::vector<TFloatPolygon> SpikeFrames(const TFigureFrame &frame, const TSpikeTables &tables, int step);

std::vector<TFloatPoint> BlastPoints(const TFigureFrame &frame, int blasts);
std::vector<TFloatPolygon> FireworxFrames(
    const TFigureFrame &frame, const std::vector<TFloatPoint> &blastPoints, int step);
