#include "byte_source.h"

#include <algorithm>
#include <cstring>

namespace zelvo::audiolib {

std::int64_t MemorySource::read(std::uint8_t* data, std::int64_t size) {
  const std::int64_t n = std::clamp<std::int64_t>(this->size() - position_, 0, std::max<std::int64_t>(size, 0));
  if (n > 0) std::memcpy(data, bytes_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

bool MemorySource::seek(std::int64_t position) {
  if (position < 0 || position > size()) return false;
  position_ = position;
  return true;
}

namespace {
bool seekFile(std::FILE* file, std::int64_t position) {
#ifdef _WIN32
  return _fseeki64(file, position, SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}
std::int64_t fileSize(std::FILE* file) {
#ifdef _WIN32
  if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
  return _ftelli64(file);
#else
  if (fseeko(file, 0, SEEK_END) != 0) return -1;
  return ftello(file);
#endif
}
}  // namespace

FileSource::FileSource(std::FILE* file, std::int64_t offset, std::int64_t length) : file_(file), offset_(offset) {
  const std::int64_t whole = fileSize(file_);
  const std::int64_t rest = std::max<std::int64_t>(whole - offset_, 0);
  size_ = length < 0 ? rest : std::min(length, rest);
  seekFile(file_, offset_);
}

FileSource::~FileSource() { std::fclose(file_); }

std::int64_t FileSource::read(std::uint8_t* data, std::int64_t size) {
  const std::int64_t n = std::clamp<std::int64_t>(size_ - position_, 0, std::max<std::int64_t>(size, 0));
  if (n == 0) return 0;
  const std::size_t got = std::fread(data, 1, static_cast<std::size_t>(n), file_);
  if (got == 0 && std::ferror(file_)) return -1;
  position_ += static_cast<std::int64_t>(got);
  return static_cast<std::int64_t>(got);
}

bool FileSource::seek(std::int64_t position) {
  if (position < 0 || position > size_) return false;
  if (!seekFile(file_, offset_ + position)) return false;
  position_ = position;
  return true;
}

void DownloadBuffer::append(const std::uint8_t* data, std::int64_t size) {
  {
    std::lock_guard lock(mutex_);
    bytes_.insert(bytes_.end(), data, data + size);
  }
  changed_.notify_all();
}

void DownloadBuffer::setTotal(std::int64_t total) {
  std::lock_guard lock(mutex_);
  total_ = total;
}

void DownloadBuffer::finish(bool ok) {
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
    failed_ = !ok;
    // A server that closed early, or sent no length, ends the stream where
    // the data ends.
    total_ = static_cast<std::int64_t>(bytes_.size());
  }
  changed_.notify_all();
}

void DownloadBuffer::cancel() {
  cancelled_ = true;
  changed_.notify_all();
}

std::int64_t DownloadBuffer::downloaded() const {
  std::lock_guard lock(mutex_);
  return static_cast<std::int64_t>(bytes_.size());
}

std::int64_t DownloadBuffer::total() const {
  std::lock_guard lock(mutex_);
  return total_;
}

bool DownloadBuffer::finished() const {
  std::lock_guard lock(mutex_);
  return finished_;
}

bool DownloadBuffer::failed() const {
  std::lock_guard lock(mutex_);
  return failed_;
}

std::int64_t DownloadBuffer::readAt(std::int64_t position, std::uint8_t* data, std::int64_t size,
                                    std::chrono::milliseconds stall) {
  std::unique_lock lock(mutex_);
  const bool ready = changed_.wait_for(lock, stall, [&] {
    return cancelled_ || finished_ || static_cast<std::int64_t>(bytes_.size()) > position;
  });
  if (cancelled_ || !ready) return -1;
  const std::int64_t have = static_cast<std::int64_t>(bytes_.size()) - position;
  if (have <= 0) return finished_ && !failed_ ? 0 : (finished_ ? 0 : -1);
  const std::int64_t n = std::min(have, size);
  std::memcpy(data, bytes_.data() + position, static_cast<std::size_t>(n));
  return n;
}

bool DownloadBuffer::waitFor(std::int64_t bytes, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [&] {
    return cancelled_ || finished_ || static_cast<std::int64_t>(bytes_.size()) >= bytes;
  });
  return !cancelled_ && (finished_ || static_cast<std::int64_t>(bytes_.size()) >= bytes);
}

std::int64_t DownloadSource::read(std::uint8_t* data, std::int64_t size) {
  auto stall = stall_;
  if (deadline_) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - std::chrono::steady_clock::now());
    if (left.count() <= 0) return -1;
    stall = std::min(stall, left);
  }
  const std::int64_t n = buffer_->readAt(position_, data, size, stall);
  if (n > 0) position_ += n;
  return n;
}

bool DownloadSource::seek(std::int64_t position) {
  const std::int64_t total = buffer_->total();
  if (position < 0 || (total >= 0 && position > total)) return false;
  position_ = position;
  return true;
}

}  // namespace zelvo::audiolib
