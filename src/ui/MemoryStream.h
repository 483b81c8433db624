// A growable byte buffer with a read/write position: record bodies, BMP images and blobs.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class MemoryStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string_view bytes) { Write(bytes.data(), bytes.size()); pos_ = 0; }

  // Null while empty, so that binding an empty stream as a blob gives SQL NULL.
  const std::uint8_t* Data() const { return data_.empty() ? nullptr : data_.data(); }
  std::uint8_t* Data() { return data_.empty() ? nullptr : data_.data(); }
  std::size_t Size() const { return data_.size(); }
  std::size_t Position() const { return pos_; }
  // A position past the end is allowed: reads there give nothing, a write fills the gap with zeros.
  void SetPosition(std::size_t pos) { pos_ = pos; }
  std::string_view View() const { return {reinterpret_cast<const char*>(data_.data()), data_.size()}; }
  std::string Bytes() const { return std::string(View()); }

  std::size_t Read(void* out, std::size_t count) {
    if (pos_ >= data_.size()) return 0;
    count = std::min(count, data_.size() - pos_);
    if (count) std::memcpy(out, data_.data() + pos_, count);
    pos_ += count;
    return count;
  }

  void Write(const void* in, std::size_t count) {
    if (count == 0) return;
    if (pos_ + count > data_.size()) data_.resize(pos_ + count);
    std::memcpy(data_.data() + pos_, in, count);
    pos_ += count;
  }
  void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }

  // Keeps the position, as a stream's size change does.
  void SetSize(std::size_t size) { data_.resize(size); }
  void Clear() { data_.clear(); data_.shrink_to_fit(); pos_ = 0; }

 private:
  std::vector<std::uint8_t> data_;
  std::size_t pos_ = 0;
};

}  // namespace ui
