#include "gfx/png_codec.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

namespace velk {
namespace {

// Pictures larger than this are refused before their pixels are allocated.
constexpr uint64_t kMaxPixels = uint64_t{1} << 24;
// The zlib level every written PNG uses.
constexpr int kZlibLevel = 4;

// What libpng's callbacks reach. libpng reports an error by a long jump back
// into the function that set it up, so everything that must survive the
// jump, or be freed after it, lives here and not in the jumping frames.
struct ReadState {
    std::span<const uint8_t> bytes;
    size_t at = 0;
    char error[200] = {};
    PngPicture picture;
    std::vector<png_bytep> rows;
};

void onError(png_structp png, png_const_charp message) {
    auto* error = static_cast<char*>(png_get_error_ptr(png));
    std::strncpy(error, message, 199);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep out, size_t length) {
    auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
    if (state->bytes.size() - state->at < length) png_error(png, "the file ends early");
    std::memcpy(out, state->bytes.data() + state->at, length);
    state->at += length;
}

// Reads the whole picture into `state`; false after an error, whose words
// are in state.error. No object with a destructor lives in this frame.
bool readPicture(png_structp png, png_infop info, ReadState& state) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (uint64_t{width} * height > kMaxPixels) png_error(png, "more than 16,777,216 pixels");
    const int colourType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    const bool indexed = colourType == PNG_COLOR_TYPE_PALETTE;
    if (indexed) {
        if (depth < 8) png_set_packing(png);
    } else {
        if (depth == 16) png_set_scale_16(png);
        if (depth < 8 && (colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_expand_gray_1_2_4_to_8(png);
        if ((colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
        if (png_get_valid(png, info, PNG_INFO_tRNS))
            png_set_tRNS_to_alpha(png);
        else if ((colourType & PNG_COLOR_MASK_ALPHA) == 0)
            png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t channels = indexed ? 1 : 4;
    if (png_get_rowbytes(png, info) != width * channels) png_error(png, "unexpected row layout");
    PngPicture& picture = state.picture;
    picture.width = width;
    picture.height = height;
    picture.indexed = indexed;
    if (indexed) {
        png_colorp entries = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &entries, &count) == PNG_INFO_PLTE)
            for (int i = 0; i < count; ++i) picture.palette.push_back({entries[i].red, entries[i].green, entries[i].blue});
    }
    picture.pixels.resize(size_t{width} * height * channels);
    state.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) state.rows[y] = picture.pixels.data() + size_t{y} * width * channels;
    png_read_image(png, state.rows.data());
    png_read_end(png, nullptr);
    return true;
}

struct WriteState {
    std::vector<uint8_t> out;
    char error[200] = {};
    std::vector<png_color> palette;
    std::vector<png_bytep> rows;
};

void writeBytes(png_structp png, png_bytep data, size_t length) {
    auto* state = static_cast<WriteState*>(png_get_io_ptr(png));
    state->out.insert(state->out.end(), data, data + length);
}

void flushNothing(png_structp) {}

bool writePicture(png_structp png, png_infop info, WriteState& state, uint32_t width, uint32_t height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &state, writeBytes, flushNothing);
    png_set_compression_level(png, kZlibLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, state.palette.data(), static_cast<int>(state.palette.size()));
    png_byte transparent = 0;
    png_set_tRNS(png, info, &transparent, 1, nullptr);
    png_write_info(png, info);
    png_write_image(png, state.rows.data());
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

Result<PngPicture> decodePng(std::span<const uint8_t> bytes) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return problem(ProblemCode::NotAPng);
    ReadState state;
    state.bytes = bytes;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, state.error, onError, onWarning);
    if (!png) throw std::bad_alloc();
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &state, readBytes);
    const bool ok = info && readPicture(png, info, state);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (!ok) {
        Problem p = problem(ProblemCode::PngLibrary, state.at);
        p.words = state.error;
        return p;
    }
    return std::move(state.picture);
}

std::vector<uint8_t> encodeIndexedPng(uint32_t width, uint32_t height, std::span<const uint8_t> pixels,
                                      std::span<const Rgb> palette) {
    WriteState state;
    for (const Rgb& c : palette) state.palette.push_back({c.red, c.green, c.blue});
    for (uint32_t y = 0; y < height; ++y)
        state.rows.push_back(const_cast<png_bytep>(pixels.data()) + size_t{y} * width);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, state.error, onError, onWarning);
    if (!png) throw std::bad_alloc();
    png_infop info = png_create_info_struct(png);
    const bool ok = info && writePicture(png, info, state, width, height);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (!ok) throw std::runtime_error(std::string("PNG writer: ") + state.error);
    return std::move(state.out);
}

}  // namespace velk
