#include "LibJpeg.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace libjpeg {

namespace {

// Errors jump back to the caller; warnings (corrupt data the decoder worked around)
// are counted, since a good file gives none.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int warnings = 0;
    std::vector<std::string> warningTexts;
    std::string error;
};

void onError(j_common_ptr cinfo)
{
    auto *manager = reinterpret_cast<ErrorManager *>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    manager->error = text;
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    auto *manager = reinterpret_cast<ErrorManager *>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    ++manager->warnings;
    manager->warningTexts.emplace_back(text);
}

void install(ErrorManager &manager, jpeg_common_struct *cinfo)
{
    cinfo->err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = onError;
    manager.pub.emit_message = onMessage;
}

} // namespace

Decoded decode(const std::vector<std::uint8_t> &file)
{
    Decoded result;
    jpeg_decompress_struct cinfo{};
    ErrorManager manager;
    install(manager, reinterpret_cast<jpeg_common_struct *>(&cinfo));
    if (setjmp(manager.jump)) {
        result.error = manager.error;
        result.warnings = manager.warnings;
        jpeg_destroy_decompress(&cinfo);
        return result;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_save_markers(&cinfo, JPEG_COM, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    result.jfif = cinfo.saw_JFIF_marker;
    result.jfifMajor = cinfo.JFIF_major_version;
    result.jfifMinor = cinfo.JFIF_minor_version;
    result.densityUnit = cinfo.density_unit;
    result.xDensity = cinfo.X_density;
    result.yDensity = cinfo.Y_density;
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m != nullptr; m = m->next)
        result.comments.emplace_back(reinterpret_cast<const char *>(m->data), m->data_length);
    for (int i = 0; i < cinfo.num_components; ++i) {
        result.sampling.push_back({cinfo.comp_info[i].h_samp_factor, cinfo.comp_info[i].v_samp_factor});
        result.quantTableOf.push_back(cinfo.comp_info[i].quant_tbl_no);
    }
    for (int t = 0; t < 4; ++t) {
        if (cinfo.quant_tbl_ptrs[t] == nullptr)
            continue;
        result.quantPresent[std::size_t(t)] = true;
        for (int k = 0; k < 64; ++k)
            result.quantNatural[std::size_t(t)][std::size_t(k)] = cinfo.quant_tbl_ptrs[t]->quantval[k];
    }
    cinfo.out_color_space = cinfo.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    result.width = int(cinfo.output_width);
    result.height = int(cinfo.output_height);
    result.components = cinfo.output_components;
    const std::size_t rowBytes = std::size_t(cinfo.output_width) * std::size_t(cinfo.output_components);
    result.pixels.resize(rowBytes * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = result.pixels.data() + rowBytes * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    result.warnings = manager.warnings;
    result.warningTexts = manager.warningTexts;
    result.ok = true;
    return result;
}

Coefficients readCoefficients(const std::vector<std::uint8_t> &file)
{
    Coefficients result;
    jpeg_decompress_struct cinfo{};
    ErrorManager manager;
    install(manager, reinterpret_cast<jpeg_common_struct *>(&cinfo));
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return result;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    jvirt_barray_ptr *arrays = jpeg_read_coefficients(&cinfo);
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info &info = cinfo.comp_info[c];
        const int wide = int(info.width_in_blocks), high = int(info.height_in_blocks);
        result.blocksWide.push_back(wide);
        result.blocksHigh.push_back(high);
        std::vector<std::int16_t> blocks;
        blocks.reserve(std::size_t(wide) * std::size_t(high) * 64);
        for (int row = 0; row < high; ++row) {
            JBLOCKARRAY line = (*cinfo.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                                arrays[c], JDIMENSION(row), 1, FALSE);
            for (int col = 0; col < wide; ++col)
                for (int k = 0; k < 64; ++k)
                    blocks.push_back(line[0][col][k]);
        }
        result.blocks.push_back(std::move(blocks));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    result.warnings = manager.warnings;
    result.ok = true;
    return result;
}

std::vector<std::uint8_t> encode(const std::vector<std::uint8_t> &pixels, int width, int height,
                                 int components, int quality, const std::array<int, 6> &sampling,
                                 const QuantTables *tables)
{
    jpeg_compress_struct cinfo{};
    ErrorManager manager;
    install(manager, reinterpret_cast<jpeg_common_struct *>(&cinfo));
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(manager.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (tables != nullptr) {
        jpeg_add_quant_table(&cinfo, 0, (*tables)[0].data(), 100, TRUE);
        jpeg_add_quant_table(&cinfo, 1, (*tables)[1].data(), 100, TRUE);
    }
    cinfo.optimize_coding = TRUE;
    cinfo.dct_method = JDCT_FLOAT;
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = sampling[std::size_t(c) * 2];
        cinfo.comp_info[c].v_samp_factor = sampling[std::size_t(c) * 2 + 1];
    }
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowBytes = std::size_t(width) * std::size_t(components);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + rowBytes * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<std::uint8_t> file(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return file;
}

} // namespace libjpeg
