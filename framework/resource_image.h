#pragma once
// Pictures among the resources by numeric id: decoded with Qt's image
// readers (PNG, BMP, SVG through QtSvg...). The bytes come from the
// platform's resource registry; this adds only the decoding.
#include <QImage>

// A null image when the resource is missing or is not a picture Qt reads.
QImage LoadResourceImage(int id);
// An SVG resource rendered at width x height over transparency; null on failure.
QImage RenderSvgResource(int id, int width, int height);
