#include "browser/JpegWriter.h"

#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

namespace orv {
namespace {

constexpr int kMaxSide = 65500; // JPEG_MAX_DIMENSION

// libjpeg reports a failure by calling error_exit, which must not return: it jumps back to
// Compress. Everything libjpeg's frames hold is released by jpeg_destroy_compress.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void Quiet(j_common_ptr) { }

struct JpegJob {
    jpeg_compress_struct info;
    ErrorManager error;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

// Kept apart from EncodeJpeg so that nothing with a destructor lives in the frame that
// setjmp returns to twice. A failure inside jpeg_create_compress leaves the memory manager
// unset, which jpeg_destroy_compress then passes over.
bool Compress(JpegJob& job, const RasterImage& image, int quality)
{
    if (setjmp(job.error.jump))
        return false;
    jpeg_create_compress(&job.info);
    jpeg_mem_dest(&job.info, &job.buffer, &job.size);
    job.info.image_width = static_cast<JDIMENSION>(image.Width());
    job.info.image_height = static_cast<JDIMENSION>(image.Height());
    job.info.input_components = 3;
    job.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job.info);
    jpeg_set_quality(&job.info, quality, TRUE);
    job.info.comp_info[0].h_samp_factor = 1;
    job.info.comp_info[0].v_samp_factor = 1;
    job.info.optimize_coding = TRUE;
    job.info.density_unit = 1;
    job.info.X_density = 96;
    job.info.Y_density = 96;
    jpeg_start_compress(&job.info, TRUE);
    while (job.info.next_scanline < job.info.image_height) {
        // libjpeg reads the rows and never writes them.
        JSAMPROW row = const_cast<JSAMPLE*>(image.Row(static_cast<int>(job.info.next_scanline)));
        jpeg_write_scanlines(&job.info, &row, 1);
    }
    jpeg_finish_compress(&job.info);
    return true;
}

} // namespace

std::string EncodeJpeg(const RasterImage& image, int quality)
{
    if (image.IsNull() || image.Width() > kMaxSide || image.Height() > kMaxSide)
        return std::string();
    JpegJob job {};
    job.info.err = jpeg_std_error(&job.error.base);
    job.error.base.error_exit = JumpOnError;
    job.error.base.output_message = Quiet;
    const bool done = Compress(job, image, std::clamp(quality, 1, 100));
    jpeg_destroy_compress(&job.info);
    std::string out;
    if (done && job.buffer)
        out.assign(reinterpret_cast<const char*>(job.buffer), job.size);
    std::free(job.buffer);
    return out;
}

} // namespace orv
