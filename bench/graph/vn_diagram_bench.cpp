// Time to paint a V-n diagram of many points into a 1000 x 700 image: the
// points of one long start lent as they are, and the same number binned into a
// density first, as when many starts are shown at once.
#include "graph/point_density.h"
#include "graph/vn_diagram_painter.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using veltrin::PointDensity;
using veltrin::VnDiagramData;
using veltrin::VnPoint;

constexpr veltrin::VnEnvelope kLimits{-3.5, 5.5, 250.0};

// Speeds and loads of aerobatic flying, with sensor noise.
std::vector<VnPoint> FlightPoints(int count)
{
    std::vector<VnPoint> points(static_cast<std::size_t>(count));
    std::uint32_t state = 12345;
    for (int i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = static_cast<double>(state >> 8) / 8388608.0 - 1.0;
        points[static_cast<std::size_t>(i)] = {150.0 + 90.0 * std::sin(i * 0.0007) + 5.0 * noise,
                                               1.0 + 4.5 * std::sin(i * 0.0031) + 0.3 * noise};
    }
    return points;
}

void Paint(benchmark::State& state, const VnDiagramData& data)
{
    QImage image(1000, 700, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        veltrin::PaintVnDiagram(painter, QRectF(image.rect()), data);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void PaintPoints(benchmark::State& state)
{
    const std::vector<VnPoint> points = FlightPoints(static_cast<int>(state.range(0)));
    VnDiagramData data;
    data.points = points;
    data.envelope = kLimits;
    data.markedPoint = 10;
    Paint(state, data);
}
BENCHMARK(PaintPoints)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void PaintDensity(benchmark::State& state)
{
    PointDensity density;
    for (const VnPoint& p : FlightPoints(static_cast<int>(state.range(0))))
        density.Add(p.ias, p.accZ, veltrin::IsBeyondEnvelope(p.ias, p.accZ, kLimits));
    VnDiagramData data;
    data.density = &density;
    data.envelope = kLimits;
    Paint(state, data);
}
BENCHMARK(PaintDensity)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Binning itself, as each worker does it while it reads a start.
void BinIntoDensity(benchmark::State& state)
{
    const std::vector<VnPoint> points = FlightPoints(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PointDensity density;
        for (const VnPoint& p : points)
            density.Add(p.ias, p.accZ, veltrin::IsBeyondEnvelope(p.ias, p.accZ, kLimits));
        benchmark::DoNotOptimize(density.Count());
    }
}
BENCHMARK(BinIntoDensity)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
