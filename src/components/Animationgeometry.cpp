#include "Animationgeometry.h"

#include <cmath>

namespace {

constexpr float Pi = 3.1415927f;
constexpr float TwoPi = 6.2831855f;

TFloatPoint Moved(TFloatPoint p, float dx, float dy)
{
    return {p.x + dx, p.y + dy};
}

TFloatPolygon Transformed(const TFloatPolygon &polygon, const TMatrix &m)
{
    TFloatPolygon result;
    result.reserve(polygon.size());
    for (const TFloatPoint &p : polygon)
        result.push_back(Transform(p, m));
    return result;
}

// Element-wise t * a + (1 - t) * b.
TMatrix Blend(float t, const TMatrix &a, const TMatrix &b)
{
    TMatrix r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = t * a.m[i][j] + (1 - t) * b.m[i][j];
    return r;
}

} // namespace

TMatrix IdentityMatrix()
{
    return TMatrix {};
}

TMatrix TranslationMatrix(float dx, float dy)
{
    TMatrix r;
    r.m[2][0] = dx;
    r.m[2][1] = dy;
    return r;
}

TMatrix ScalingMatrix(float sx, float sy, TFloatPoint pivot)
{
    TMatrix scale;
    scale.m[0][0] = sx;
    scale.m[1][1] = sy;
    return TranslationMatrix(-pivot.x, -pivot.y) * scale * TranslationMatrix(pivot.x, pivot.y);
}

TMatrix RotationMatrix(float theta, TFloatPoint pivot)
{
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    TMatrix turn;
    turn.m[0][0] = c;
    turn.m[0][1] = s;
    turn.m[1][0] = -s;
    turn.m[1][1] = c;
    return TranslationMatrix(-pivot.x, -pivot.y) * turn * TranslationMatrix(pivot.x, pivot.y);
}

TMatrix operator*(const TMatrix &a, const TMatrix &b)
{
    TMatrix r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    return r;
}

TFloatPoint Transform(TFloatPoint p, const TMatrix &m)
{
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + m.m[2][0], p.x * m.m[0][1] + p.y * m.m[1][1] + m.m[2][1]};
}

TOutline OutlineOf(const TFloatPolygon &polygon)
{
    TOutline outline;
    if (polygon.empty())
        return outline;
    outline.reserve(qsizetype(polygon.size()));
    for (const TFloatPoint &p : polygon)
        outline.append(QPoint(int(std::trunc(p.x)), int(std::trunc(p.y))));
    if (outline.last() == outline.first())
        outline.clear();
    return outline;
}

TFloatPolygon RectangleAround(float x, float y, float hx, float hy)
{
    if (hx == 0 || hy == 0)
        return {};
    return {{x - hx, y + hy}, {x + hx, y + hy}, {x + hx, y - hy}, {x - hx, y - hy}};
}

TFigureFrame FigureFrameFor(int left, int top, int width, int height, int steps, float angle)
{
    TFigureFrame frame;
    frame.halfWidth = float(width) / 2;
    frame.halfHeight = float(height) / 2;
    frame.centre = {float(left) + frame.halfWidth, float(top) + frame.halfHeight};
    frame.steps = steps;
    frame.angle = angle;
    return frame;
}

float AngleParameter(TAnimationEffectType type)
{
    switch (type) {
    case etSpin:
    case etFireworks:
        return TwoPi;
    case etVortex:
    case etSpike:
        return Pi;
    case etScatterGather:
        return 6;
    case etRandom:
        break;
    }
    return 0;
}

std::vector<TFloatPolygon> SpinFrame(const TFigureFrame &frame, int step)
{
    const float f = float(step) / float(frame.steps);
    const float theta = float(step - frame.steps) * frame.angle / float(frame.steps);
    const TMatrix m = ScalingMatrix(f, f, {0, 0}) * RotationMatrix(theta, {0, 0});
    const TFloatPoint q = Transform({frame.halfWidth, frame.halfHeight}, m);
    const TFloatPoint p = Transform({frame.halfWidth, -frame.halfHeight}, m);
    const TFloatPoint c = frame.centre;
    return {{Moved(c, -q.x, -q.y), Moved(c, -p.x, -p.y), Moved(c, q.x, q.y), Moved(c, p.x, p.y)}};
}

TMatrix VortexTurn(const TFigureFrame &frame)
{
    return RotationMatrix(1.2566371f, frame.centre);
}

std::vector<TFloatPolygon> VortexFrames(const TFigureFrame &frame, const TMatrix &turn, int step)
{
    const float steps = float(frame.steps);
    const float hx = float(step) * frame.halfWidth / steps;
    const float hy = float(step) * frame.halfHeight / steps;
    const float k = 4 * float(frame.steps - step) / (3 * steps);
    const TMatrix place
        = ScalingMatrix(k, k, frame.centre) * RotationMatrix(float(step) * frame.angle / steps, frame.centre);
    TFloatPoint position = Transform(Moved(frame.centre, frame.halfWidth, frame.halfHeight), place);

    std::vector<TFloatPolygon> result;
    for (int i = 0; i < 5; ++i) {
        result.push_back(RectangleAround(position.x, position.y, hx, hy));
        position = Transform(position, turn);
    }
    return result;
}

std::vector<TFloatPolygon> ScatterGatherFrames(const TFigureFrame &frame, int step)
{
    const int n = int(frame.angle);
    const float steps = float(frame.steps);
    const float hx = float(step) * frame.halfWidth / (steps * frame.angle);
    const float hy = float(step) * frame.halfHeight / (steps * frame.angle);
    const float s = float(3 * frame.steps - 2 * step) / steps;

    std::vector<TFloatPolygon> result;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const float x = float(2 * i - n + 1) * frame.halfWidth / float(n);
            const float y = float(2 * j - n + 1) * frame.halfHeight / float(n);
            result.push_back(RectangleAround(x * s + frame.centre.x, y * s + frame.centre.y, hx, hy));
        }
    }
    return result;
}

TSpikeTables MakeSpikeTables(const TFigureFrame &frame)
{
    const TFloatPoint c = frame.centre;
    const float l = c.x - frame.halfWidth;
    const float r = c.x + frame.halfWidth;
    const float t = c.y - frame.halfHeight;
    const float b = c.y + frame.halfHeight;
    // Five points per side, in the order the triangles go round: bottom l->r, right b->t,
    // top r->l, left t->b.
    auto sidePoint = [&](int side, int part) -> TFloatPoint {
        const float u = float(part) / 4;
        switch (side) {
        case 0:
            return {l + (r - l) * u, b};
        case 1:
            return {r, b + (t - b) * u};
        case 2:
            return {r + (l - r) * u, t};
        default:
            return {l, t + (b - t) * u};
        }
    };

    TSpikeTables tables;
    const TFloatPoint base {c.x, c.y + (frame.halfWidth - frame.halfHeight) * 4 / 5};
    for (int k = 0; k < SpikeCount; ++k) {
        tables.centre[k] = c;
        tables.firstEdge[k] = sidePoint(k / 4, k % 4);
        tables.secondEdge[k] = sidePoint(k / 4, k % 4 + 1);
        const TFloatPoint e1 = tables.firstEdge[k];
        const TFloatPoint e2 = tables.secondEdge[k];
        tables.centroid[k] = {(c.x + e1.x + e2.x) / 3, (c.y + e1.y + e2.y) / 3};
        tables.target[k] = Transform(base, RotationMatrix(0.5759586531f - float(k) * 0.3839724354f, c));
        tables.move[k] = TranslationMatrix(
            tables.target[k].x - tables.centroid[k].x, tables.target[k].y - tables.centroid[k].y);
    }
    return tables;
}

std::vector<TFloatPolygon> SpikeFrames(const TFigureFrame &frame, const TSpikeTables &tables, int step)
{
    const float steps = float(frame.steps);
    const float f = float(step) / steps;
    const bool firstHalf = step < frame.steps / 2;
    std::vector<TFloatPolygon> result;
    for (int k = 0; k < SpikeCount; ++k) {
        const TFloatPoint pivot = tables.centroid[k];
        TMatrix m = ScalingMatrix(f, f, pivot);
        if (firstHalf) {
            m = m * RotationMatrix((1 - 2 * float(step) / steps) * frame.angle, pivot) * tables.move[k];
        } else {
            const float t = float(2 * step - frame.steps) / steps;
            m = m * Blend(t, IdentityMatrix(), tables.move[k]);
        }
        result.push_back(Transformed({tables.centre[k], tables.firstEdge[k], tables.secondEdge[k]}, m));
    }
    return result;
}

std::vector<TFloatPoint> BlastPoints(const TFigureFrame &frame, int blasts)
{
    std::vector<TFloatPoint> points;
    const TFloatPoint base {frame.centre.x, frame.centre.y + (frame.halfWidth - frame.halfHeight) * 5 / 3};
    for (int e = 0; e < blasts; ++e)
        points.push_back(Transform(base, RotationMatrix(2 * float(e) * Pi / float(blasts), frame.centre)));
    return points;
}

std::vector<TFloatPolygon> FireworxFrames(
    const TFigureFrame &frame, const std::vector<TFloatPoint> &blastPoints, int step)
{
    const float f = float(step) / float(frame.steps);
    const float hw = frame.halfWidth;
    const float hh = frame.halfHeight;
    const TFloatPolygon corners {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    const TMatrix turnAndGrow = RotationMatrix((1 - f) * frame.angle, {0, 0}) * ScalingMatrix(f, f, {0, 0});

    std::vector<TFloatPolygon> result;
    for (const TFloatPoint &blast : blastPoints) {
        const TMatrix m = turnAndGrow
            * TranslationMatrix(
                f * frame.centre.x + (1 - f) * blast.x, f * frame.centre.y + (1 - f) * blast.y);
        result.push_back(Transformed(corners, m));
    }
    return result;
}
