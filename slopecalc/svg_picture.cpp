#include "slopecalc/svg_picture.h"

#include "slopecalc/number_text.h"
#include "slopecalc/slices.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace slopecalc {
namespace {

constexpr double PictureWidth = 800;
constexpr double Margin = 20;
constexpr double CaptionHeight = 30;
constexpr std::array<const char*, 6> SoilColours{"#d9b38c", "#a3c27a", "#c9a0c9",
                                                 "#e6d27a", "#9cc3d5", "#c4a484"};

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

class Canvas {
public:
    Canvas(double xMin, double xMax, double yMin, double yMax)
        : xMin_(xMin), yMax_(yMax), scale_(PictureWidth / (xMax - xMin)),
          height_((yMax - yMin) * scale_ + 2 * Margin + CaptionHeight) {}

    std::string X(double x) const { return FixedText(Margin + (x - xMin_) * scale_, 2); }
    std::string Y(double y) const {
        return FixedText(CaptionHeight + Margin + (yMax_ - y) * scale_, 2);
    }
    std::string At(double x, double y) const { return X(x) + "," + Y(y); }
    std::string Width() const { return FixedText(PictureWidth + 2 * Margin, 0); }
    std::string Height() const { return FixedText(height_, 0); }

private:
    double xMin_;
    double yMax_;
    double scale_;
    double height_;
};

std::vector<double> VertexXs(const Model& model, double xMin, double xMax) {
    std::vector<double> xs{xMin, xMax};
    for (const Boundary& b : model.boundaries) {
        for (const Point& p : b.line.Points()) {
            xs.push_back(p.x);
        }
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    return xs;
}

std::string Soils(const Model& model, const Canvas& canvas, const std::vector<double>& xs,
                  double bottom) {
    std::string svg;
    for (std::size_t k = 0; k < model.boundaries.size(); ++k) {
        std::string points;
        for (double x : xs) {
            points += canvas.At(x, model.boundaries[k].line.ElevationAt(x)) + " ";
        }
        for (auto x = xs.rbegin(); x != xs.rend(); ++x) {
            const double y = k + 1 < model.boundaries.size()
                                 ? model.boundaries[k + 1].line.ElevationAt(*x)
                                 : bottom;
            points += canvas.At(*x, y) + " ";
        }
        svg += "<polygon points=\"" + points + "\" fill=\"" + SoilColours[k % SoilColours.size()] +
               "\" stroke=\"#555\" stroke-width=\"0.5\"/>\n";
    }
    return svg;
}

std::string Water(const Model& model, const Canvas& canvas, double xMin, double xMax) {
    if (!model.water) {
        return {};
    }
    std::string points = canvas.At(xMin, model.water->ElevationAt(xMin)) + " ";
    for (const Point& p : model.water->Points()) {
        points += canvas.At(p.x, p.y) + " ";
    }
    points += canvas.At(xMax, model.water->ElevationAt(xMax));
    return "<polyline points=\"" + points +
           "\" fill=\"none\" stroke=\"#1f5fbf\" stroke-width=\"2\" stroke-dasharray=\"8 4\"/>\n";
}

std::string SlipCircle(const Model& model, const Canvas& canvas, const SlipSurface& surface) {
    const Circle& c = surface.circle;
    std::vector<Slice> slices;
    CutSlices(model, surface, slices);
    std::string arc;
    std::string lines;
    constexpr int ArcPoints = 200;
    for (int i = 0; i <= ArcPoints; ++i) {
        const double x = surface.xLeft + (surface.xRight - surface.xLeft) * i / ArcPoints;
        arc += canvas.At(x, ArcElevation(c, x)) + " ";
    }
    for (std::size_t i = 1; i < slices.size(); ++i) {
        const double x = slices[i].x - slices[i].width / 2;
        lines += "<line x1=\"" + canvas.X(x) + "\" y1=\"" + canvas.Y(ArcElevation(c, x)) +
                 "\" x2=\"" + canvas.X(x) + "\" y2=\"" + canvas.Y(model.Ground().ElevationAt(x)) +
                 "\"/>\n";
    }
    return "<g stroke=\"#333\" stroke-width=\"0.5\">\n" + lines + "</g>\n<polyline points=\"" +
           arc + "\" fill=\"none\" stroke=\"#c00000\" stroke-width=\"2\"/>\n";
}

} // namespace

std::string DrawSvg(const Model& model, const StageResult& final) {
    const SlipSurface& surface = final.best.surface;
    double xMin = surface.xLeft;
    double xMax = surface.xRight;
    double yMax = surface.circle.yc - surface.circle.radius;
    for (const Boundary& b : model.boundaries) {
        xMin = std::min(xMin, b.line.FirstX());
        xMax = std::max(xMax, b.line.LastX());
        for (const Point& p : b.line.Points()) {
            yMax = std::max(yMax, p.y);
        }
    }
    double bottom = model.bedrock;
    for (const Point& p : model.boundaries.back().line.Points()) {
        bottom = std::min(bottom, p.y);
    }
    bottom = std::min(bottom, surface.circle.yc - surface.circle.radius);
    const Canvas canvas(xMin, xMax, bottom, yMax);
    const std::string caption =
        (model.title.empty() ? "" : model.title + ": ") + "F = " + FixedText(final.best.factor, 3);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           canvas.Width() + "\" height=\"" + canvas.Height() + "\">\n" +
           "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" +
           Soils(model, canvas, VertexXs(model, xMin, xMax), bottom) +
           Water(model, canvas, xMin, xMax) + SlipCircle(model, canvas, surface) + "<text x=\"" +
           FixedText(Margin, 0) + "\" y=\"22\" font-family=\"sans-serif\" font-size=\"16\">" +
           Escaped(caption) + "</text>\n</svg>\n";
}

} // namespace slopecalc
