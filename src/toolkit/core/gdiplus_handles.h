// Owners for GDI+ flat-API objects (graphics, brushes, pens, paths, images,
// image attributes, string formats, fonts and families): each deletes its
// object once, on every path. Also brings in the flat API.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

namespace zelvo::toolkit {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpFont;
using Gdiplus::GpFontFamily;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpImageAttributes;
using Gdiplus::GpPath;
using Gdiplus::GpPen;
using Gdiplus::GpStringFormat;

template <typename T, Gdiplus::GpStatus(WINGDIPAPI* Delete)(T*)>
struct GdipDeleter {
  void operator()(T* object) const {
    if (object) Delete(object);
  }
};

using GraphicsPtr = std::unique_ptr<GpGraphics, GdipDeleter<GpGraphics, gp::GdipDeleteGraphics>>;
using BrushPtr = std::unique_ptr<GpBrush, GdipDeleter<GpBrush, gp::GdipDeleteBrush>>;
using PenPtr = std::unique_ptr<GpPen, GdipDeleter<GpPen, gp::GdipDeletePen>>;
using PathPtr = std::unique_ptr<GpPath, GdipDeleter<GpPath, gp::GdipDeletePath>>;
using ImagePtr = std::unique_ptr<GpImage, GdipDeleter<GpImage, gp::GdipDisposeImage>>;
using ImageAttributesPtr =
    std::unique_ptr<GpImageAttributes, GdipDeleter<GpImageAttributes, gp::GdipDisposeImageAttributes>>;
using StringFormatPtr = std::unique_ptr<GpStringFormat, GdipDeleter<GpStringFormat, gp::GdipDeleteStringFormat>>;
using FontPtr = std::unique_ptr<GpFont, GdipDeleter<GpFont, gp::GdipDeleteFont>>;
using FontFamilyPtr = std::unique_ptr<GpFontFamily, GdipDeleter<GpFontFamily, gp::GdipDeleteFontFamily>>;

inline constexpr Gdiplus::GpStatus kOk = Gdiplus::Ok;

// A GDI+ bitmap as an image, for the calls that take GpImage*.
inline GpImage* asImage(GpBitmap* bitmap) { return bitmap; }

}  // namespace zelvo::toolkit
