// Proof that the statically linked libraries are the real ones and work under Windows.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

#include "support/TempFolder.h"

using testsupport::TempFolder;

TEST(Dependencies, SqliteOpensANonAsciiPathThroughUtf16) {
  TempFolder dir(L"Квиллет");
  const std::wstring path = dir / L"заметки-é.qdb";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open16(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES('ok');", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  ASSERT_EQ(sqlite3_prepare16_v2(db, L"SELECT x FROM t", -1, &st, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
  EXPECT_STREQ(static_cast<const wchar_t*>(sqlite3_column_text16(st, 0)), L"ok");
  sqlite3_finalize(st);
  sqlite3_close(db);
  EXPECT_TRUE(testsupport::FileExists(path)) << "the file must be at the wide path itself";
}

TEST(Dependencies, ZlibRoundTrip) {
  std::string input;
  for (int i = 0; i < 10000; ++i) input += "clip " + std::to_string(i % 97) + "\n";
  uLongf packedSize = compressBound(input.size());
  std::vector<Bytef> packed(packedSize);
  ASSERT_EQ(compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(input.data()), input.size(), 9), Z_OK);
  EXPECT_LT(packedSize, input.size() / 4);
  std::string output(input.size(), '\0');
  uLongf outSize = output.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(output.data()), &outSize, packed.data(), packedSize), Z_OK);
  EXPECT_EQ(output, input);
}

namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void ThrowBack(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

}  // namespace

TEST(Dependencies, LibjpegEncodesToAFileAndDecodesBack) {
  TempFolder dir;
  const std::wstring path = dir / L"picture.jpg";
  const int w = 64, h = 48;
  std::vector<unsigned char> rgb(w * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      unsigned char* p = &rgb[(y * w + x) * 3];
      p[0] = static_cast<unsigned char>(x * 4);
      p[1] = static_cast<unsigned char>(y * 5);
      p[2] = 128;
    }

  {
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    jpeg_compress_struct c{};
    JpegError err{};
    c.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = ThrowBack;
    if (setjmp(err.jump)) {
      jpeg_destroy_compress(&c);
      fclose(f);
      FAIL() << "libjpeg failed to encode";
    }
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = w;
    c.image_height = h;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
      JSAMPROW row = &rgb[c.next_scanline * w * 3];
      jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    fclose(f);
  }

  FILE* f = _wfopen(path.c_str(), L"rb");
  ASSERT_NE(f, nullptr);
  jpeg_decompress_struct d{};
  JpegError err{};
  d.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = ThrowBack;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&d);
    fclose(f);
    FAIL() << "libjpeg failed to decode";
  }
  jpeg_create_decompress(&d);
  jpeg_stdio_src(&d, f);
  jpeg_read_header(&d, TRUE);
  jpeg_start_decompress(&d);
  ASSERT_EQ(static_cast<int>(d.output_width), w);
  ASSERT_EQ(static_cast<int>(d.output_height), h);
  std::vector<unsigned char> back(w * h * 3);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = &back[d.output_scanline * w * 3];
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  fclose(f);
  int worst = 0;
  for (std::size_t i = 0; i < rgb.size(); ++i) worst = std::max(worst, std::abs(int(rgb[i]) - int(back[i])));
  EXPECT_LE(worst, 12) << "a smooth gradient survives quality 95";
}

TEST(Dependencies, LibjpegRejectsGarbageWithoutEndingTheProcess) {
  const unsigned char junk[] = {0xFF, 0xD8, 0x00, 0x11, 0x22};
  jpeg_decompress_struct d{};
  JpegError err{};
  d.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = ThrowBack;
  err.mgr.output_message = [](j_common_ptr) {};
  bool failed = false;
  if (setjmp(err.jump)) {
    failed = true;
  } else {
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, junk, sizeof junk);
    jpeg_read_header(&d, TRUE);
  }
  jpeg_destroy_decompress(&d);
  EXPECT_TRUE(failed);
}
