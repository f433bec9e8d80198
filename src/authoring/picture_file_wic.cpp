// The image-file codec of the Windows build: the platform's imaging component (WIC), so the
// tool needs no library of its own. Only PNG and BMP are let through to it; 16-bit samples are
// scaled here rather than by WIC's converters, so both builds round them the same way.

#include "authoring/picture_file.h"
#include "platform/com_ptr.h"

#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

#include <cstdio>
#include <cstring>
#include <new>

namespace {

// COM for the length of one call: the tool initialises it once, tests may not.
class ComScope {
public:
    ComScope() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(m_hr)) {
            CoUninitialize();
        }
    }

private:
    HRESULT m_hr;
};

std::string Failure(const char* what, HRESULT hr) {
    char text[160];
    std::snprintf(text, sizeof text, "%s (error 0x%08lX)", what,
                  static_cast<unsigned long>(static_cast<DWORD>(hr)));
    return text;
}

bool Refuse(std::string& error, std::string text) {
    error = std::move(text);
    return false;
}

bool CreateFactory(ComPtr<IWICImagingFactory>& factory, std::string& error) {
    const HRESULT hr =
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()));
    if (FAILED(hr)) {
        error = Failure("the imaging component is not available", hr);
        return false;
    }
    return true;
}

// How the decoder's own pixel format is brought to 8 bits per channel.
struct SourceLayout {
    bool wide = false; // 16-bit samples, scaled here
    int channels = 3;  // samples per pixel in the wide layouts
    int red = 0, green = 1, blue = 2, alpha = -1;
    bool hasAlpha = false;
};

bool IsOneOf(const WICPixelFormatGUID& format, std::initializer_list<const GUID*> list) {
    for (const GUID* g : list) {
        if (IsEqualGUID(format, *g)) {
            return true;
        }
    }
    return false;
}

bool DescribeSource(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                    const WICPixelFormatGUID& format, SourceLayout& layout) {
    if (IsEqualGUID(format, GUID_WICPixelFormat48bppRGB)) {
        layout = {true, 3, 0, 1, 2, -1, false};
    } else if (IsEqualGUID(format, GUID_WICPixelFormat48bppBGR)) {
        layout = {true, 3, 2, 1, 0, -1, false};
    } else if (IsEqualGUID(format, GUID_WICPixelFormat64bppRGBA)) {
        layout = {true, 4, 0, 1, 2, 3, true};
    } else if (IsEqualGUID(format, GUID_WICPixelFormat64bppBGRA)) {
        layout = {true, 4, 2, 1, 0, 3, true};
    } else if (IsEqualGUID(format, GUID_WICPixelFormat16bppGray)) {
        layout = {true, 1, 0, 0, 0, -1, false};
    } else if (IsOneOf(format,
                       {&GUID_WICPixelFormat1bppIndexed, &GUID_WICPixelFormat2bppIndexed,
                        &GUID_WICPixelFormat4bppIndexed, &GUID_WICPixelFormat8bppIndexed})) {
        ComPtr<IWICPalette> palette;
        BOOL alpha = FALSE;
        if (FAILED(factory->CreatePalette(palette.Out())) ||
            FAILED(frame->CopyPalette(palette.Get())) || FAILED(palette->HasAlpha(&alpha))) {
            return false;
        }
        layout.hasAlpha = alpha != FALSE;
    } else {
        layout.hasAlpha =
            IsOneOf(format, {&GUID_WICPixelFormat32bppBGRA, &GUID_WICPixelFormat32bppRGBA,
                             &GUID_WICPixelFormat32bppPBGRA, &GUID_WICPixelFormat32bppPRGBA});
    }
    return true;
}

unsigned BitsPerPixel(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
    ComPtr<IWICComponentInfo> component;
    ComPtr<IWICPixelFormatInfo> info;
    UINT bits = 0;
    if (FAILED(factory->CreateComponentInfo(format, component.Out())) ||
        FAILED(component->QueryInterface(IID_IWICPixelFormatInfo,
                                         reinterpret_cast<void**>(info.Out()))) ||
        FAILED(info->GetBitsPerPixel(&bits))) {
        return 0;
    }
    return bits;
}

unsigned char Scale16(unsigned v) {
    return static_cast<unsigned char>((v * 255u + 32767u) / 65535u);
}

bool CopyWideRows(IWICBitmapFrameDecode* frame, const SourceLayout& layout, CPicture& picture,
                  std::string& error) {
    const int width = picture.GetWidth();
    const UINT rowBytes = static_cast<UINT>(width) * static_cast<UINT>(layout.channels) * 2u;
    std::unique_ptr<std::uint16_t[]> row(
        new (std::nothrow) std::uint16_t[static_cast<std::size_t>(width) * layout.channels]);
    if (!row) {
        error = "out of memory";
        return false;
    }
    for (int y = 0; y < picture.GetHeight(); ++y) {
        const WICRect rect = {0, y, width, 1};
        const HRESULT hr =
            frame->CopyPixels(&rect, rowBytes, rowBytes, reinterpret_cast<BYTE*>(row.get()));
        if (FAILED(hr)) {
            error = Failure("damaged picture data", hr);
            return false;
        }
        unsigned char* out = picture.GetRow(y);
        const std::uint16_t* in = row.get();
        for (int x = 0; x < width; ++x, in += layout.channels, out += 3) {
            out[0] = Scale16(in[layout.blue]);
            out[1] = Scale16(in[layout.green]);
            out[2] = Scale16(in[layout.red]);
            if (layout.hasAlpha) {
                picture.GetAlphaRow(y)[x] = Scale16(in[layout.alpha]);
            }
        }
    }
    return true;
}

// Every other format goes through 32-bit BGRA, the one target WIC converts everything to
// (Wine's converter, for one, has no route from grey to 24-bit BGR); a 24-bit BGR source is
// copied as it is.
bool CopyConvertedRows(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                       const WICPixelFormatGUID& format, CPicture& picture, std::string& error) {
    HRESULT hr = S_OK;
    if (!picture.HasAlpha() && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        const UINT stride = static_cast<UINT>(picture.GetStride());
        hr = frame->CopyPixels(nullptr, stride, stride * static_cast<UINT>(picture.GetHeight()),
                               picture.GetPixels());
        if (FAILED(hr)) {
            error = Failure("damaged picture data", hr);
            return false;
        }
        return true;
    }
    ComPtr<IWICFormatConverter> converter;
    hr = factory->CreateFormatConverter(converter.Out());
    if (SUCCEEDED(hr)) {
        hr = converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom);
    }
    if (FAILED(hr)) {
        error = Failure("the picture's pixel format cannot be converted", hr);
        return false;
    }
    const int width = picture.GetWidth();
    const UINT rowBytes = static_cast<UINT>(width) * 4u;
    std::unique_ptr<unsigned char[]> row(new (std::nothrow) unsigned char[rowBytes]);
    if (!row) {
        error = "out of memory";
        return false;
    }
    for (int y = 0; y < picture.GetHeight(); ++y) {
        const WICRect rect = {0, y, width, 1};
        hr = converter->CopyPixels(&rect, rowBytes, rowBytes, row.get());
        if (FAILED(hr)) {
            error = Failure("damaged picture data", hr);
            return false;
        }
        const unsigned char* in = row.get();
        unsigned char* out = picture.GetRow(y);
        unsigned char* alpha = picture.HasAlpha() ? picture.GetAlphaRow(y) : nullptr;
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            if (alpha != nullptr) {
                alpha[x] = in[3];
            }
        }
    }
    return true;
}

bool Decode(const unsigned char* data, std::size_t size, const GUID& container, const char* kind,
            CPicture& picture, std::string& error) {
    const std::string damaged = std::string("damaged or unsupported ") + kind;
    ComPtr<IWICImagingFactory> factory;
    if (!CreateFactory(factory, error)) {
        return false;
    }
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    HRESULT hr = factory->CreateStream(stream.Out());
    if (SUCCEEDED(hr)) {
        hr = stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size));
    }
    if (SUCCEEDED(hr)) {
        hr = factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Out());
    }
    GUID actual = GUID_NULL;
    if (SUCCEEDED(hr)) {
        hr = decoder->GetContainerFormat(&actual);
    }
    if (SUCCEEDED(hr) && !IsEqualGUID(actual, container)) {
        return Refuse(error, damaged + ": the imaging component reads it as another format");
    }
    if (SUCCEEDED(hr)) {
        hr = decoder->GetFrame(0, frame.Out());
    }
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format = GUID_NULL;
    if (SUCCEEDED(hr)) {
        hr = frame->GetSize(&width, &height);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->GetPixelFormat(&format);
    }
    if (FAILED(hr)) {
        return Refuse(error, Failure(damaged.c_str(), hr));
    }
    if (!IsPictureSizeAllowed(width, height)) {
        char text[128];
        std::snprintf(text, sizeof text, "%u x %u pixels is larger than the tool handles", width,
                      height);
        return Refuse(error, text);
    }
    const unsigned bits = BitsPerPixel(factory.Get(), format);
    const std::uint64_t stored =
        (static_cast<std::uint64_t>(width) * (bits != 0 ? bits : 64) + 7) / 8 * height;
    if (!IsPlausiblePixelData(stored, size)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "the header claims %u x %u pixels, more than the file can hold", width,
                      height);
        return Refuse(error, text);
    }
    SourceLayout layout;
    if (!DescribeSource(factory.Get(), frame.Get(), format, layout)) {
        return Refuse(error, damaged + ": unreadable palette");
    }
    if (!picture.Allocate(static_cast<int>(width), static_cast<int>(height), layout.hasAlpha)) {
        return Refuse(error, "out of memory");
    }
    const bool copied = layout.wide
                            ? CopyWideRows(frame.Get(), layout, picture, error)
                            : CopyConvertedRows(factory.Get(), frame.Get(), format, picture, error);
    if (!copied) {
        picture.Release();
        error = damaged + ": " + error;
    }
    return copied;
}

bool EncodeFrame(IWICImagingFactory* factory, const CPicture& picture, IStream* stream,
                 std::string& error) {
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    HRESULT hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out());
    if (SUCCEEDED(hr)) {
        hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->CreateNewFrame(frame.Out(), options.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Initialize(options.Get());
    }
    const int width = picture.GetWidth();
    const int height = picture.GetHeight();
    if (SUCCEEDED(hr)) {
        hr = frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height));
    }
    const WICPixelFormatGUID wanted =
        picture.HasAlpha() ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    WICPixelFormatGUID format = wanted;
    if (SUCCEEDED(hr)) {
        hr = frame->SetPixelFormat(&format);
    }
    if (FAILED(hr)) {
        return Refuse(error, Failure("cannot start the PNG encoder", hr));
    }
    if (!IsEqualGUID(format, wanted)) {
        return Refuse(error, "the PNG encoder does not take 8-bit RGB pixels");
    }
    // Rows go in bands, so an alpha picture needs only a band's worth of joined rows.
    constexpr int kBandRows = 64;
    const UINT rowBytes = static_cast<UINT>(width) * (picture.HasAlpha() ? 4u : 3u);
    std::unique_ptr<unsigned char[]> band;
    if (picture.HasAlpha()) {
        band.reset(
            new (std::nothrow) unsigned char[static_cast<std::size_t>(rowBytes) * kBandRows]);
        if (!band) {
            return Refuse(error, "out of memory");
        }
    }
    for (int y0 = 0; y0 < height && SUCCEEDED(hr); y0 += kBandRows) {
        const int rows = height - y0 < kBandRows ? height - y0 : kBandRows;
        if (!picture.HasAlpha()) {
            const UINT stride = static_cast<UINT>(picture.GetStride());
            hr = frame->WritePixels(static_cast<UINT>(rows), stride,
                                    stride * static_cast<UINT>(rows),
                                    const_cast<BYTE*>(picture.GetRow(y0)));
            continue;
        }
        for (int r = 0; r < rows; ++r) {
            const unsigned char* in = picture.GetRow(y0 + r);
            const unsigned char* alpha = picture.GetAlphaRow(y0 + r);
            unsigned char* out = band.get() + static_cast<std::size_t>(r) * rowBytes;
            for (int x = 0; x < width; ++x, in += 3, out += 4) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
                out[3] = alpha[x];
            }
        }
        hr = frame->WritePixels(static_cast<UINT>(rows), rowBytes,
                                rowBytes * static_cast<UINT>(rows), band.get());
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Commit();
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Commit();
    }
    if (FAILED(hr)) {
        return Refuse(error, Failure("cannot encode the PNG", hr));
    }
    return true;
}

} // namespace

bool DecodePicture(const unsigned char* data, std::size_t size, CPicture& picture,
                   std::string& error) {
    picture.Release();
    static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const bool png = size >= 8 && std::memcmp(data, kPngSignature, 8) == 0;
    const bool bmp = size >= 2 && data[0] == 'B' && data[1] == 'M';
    if (!png && !bmp) {
        error = "not a PNG or BMP picture";
        return false;
    }
    if (size > MAXDWORD) {
        error = "file too large";
        return false;
    }
    ComScope com;
    return Decode(data, size, png ? GUID_ContainerFormatPng : GUID_ContainerFormatBmp,
                  png ? "PNG" : "BMP", picture, error);
}

bool EncodePng(const CPicture& picture, std::vector<unsigned char>& out, std::string& error) {
    out.clear();
    if (picture.IsEmpty()) {
        error = "no picture to write";
        return false;
    }
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    if (!CreateFactory(factory, error)) {
        return false;
    }
    ComPtr<IStream> stream;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Out());
    if (FAILED(hr)) {
        return Refuse(error, Failure("out of memory", hr));
    }
    if (!EncodeFrame(factory.Get(), picture, stream.Get(), error)) {
        return false;
    }
    STATSTG stat = {};
    HGLOBAL memory = nullptr;
    hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (SUCCEEDED(hr)) {
        hr = GetHGlobalFromStream(stream.Get(), &memory);
    }
    if (FAILED(hr)) {
        return Refuse(error, Failure("cannot read the encoded PNG back", hr));
    }
    const void* bytes = GlobalLock(memory);
    if (bytes == nullptr) {
        return Refuse(error, "cannot read the encoded PNG back");
    }
    const auto* begin = static_cast<const unsigned char*>(bytes);
    bool ok = true;
    try {
        out.assign(begin, begin + stat.cbSize.QuadPart);
    } catch (const std::bad_alloc&) {
        ok = false;
        error = "out of memory";
    }
    GlobalUnlock(memory);
    return ok;
}
