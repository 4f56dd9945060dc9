// Where a stream's encoded bytes come from: a file, a memory block, or a
// download that is still growing. The decoder reads through this interface
// only, so the decoding core needs no platform headers.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace zelvo::audiolib {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to size bytes; 0 at the end; -1 on error or when cancelled.
  virtual std::int64_t read(std::uint8_t* data, std::int64_t size) = 0;
  // Absolute position within the source; false when not possible.
  virtual bool seek(std::int64_t position) = 0;
  virtual std::int64_t position() const = 0;
  // Total size in bytes, -1 when not known (yet).
  virtual std::int64_t size() const = 0;
  // True when a read may wait for data (a download): the decoder probes less.
  virtual bool isNetwork() const { return false; }
  // Set when reads must stop waiting (the stream is being freed).
  virtual bool cancelled() const { return false; }
};

// A copy of a memory block (the caller's block may go away after creation).
class MemorySource final : public ByteSource {
 public:
  MemorySource(const std::uint8_t* data, std::int64_t size) : bytes_(data, data + size) {}
  std::int64_t read(std::uint8_t* data, std::int64_t size) override;
  bool seek(std::int64_t position) override;
  std::int64_t position() const override { return position_; }
  std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }

 private:
  std::vector<std::uint8_t> bytes_;
  std::int64_t position_ = 0;
};

// A window [offset, offset + length) of an open file; length -1 = to its end.
// Owns the FILE.
class FileSource final : public ByteSource {
 public:
  FileSource(std::FILE* file, std::int64_t offset, std::int64_t length);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  std::int64_t read(std::uint8_t* data, std::int64_t size) override;
  bool seek(std::int64_t position) override;
  std::int64_t position() const override { return position_; }
  std::int64_t size() const override { return size_; }

 private:
  std::FILE* file_;
  std::int64_t offset_;
  std::int64_t size_ = 0;
  std::int64_t position_ = 0;
};

// The bytes of a download as they arrive: one writer (the download thread),
// readers that wait for data with a deadline.
class DownloadBuffer {
 public:
  void append(const std::uint8_t* data, std::int64_t size);
  void setTotal(std::int64_t total);
  // The download ended: completely (ok) or not.
  void finish(bool ok);
  void cancel();

  std::int64_t downloaded() const;
  // Content length when the server sent one, else what arrived once finished; -1 before.
  std::int64_t total() const;
  bool finished() const;
  bool failed() const;
  bool isCancelled() const { return cancelled_.load(); }

  // Copies bytes at position, waiting up to `stall` for any to arrive.
  // 0 at the end of a finished download, -1 on failure, cancel or stall.
  std::int64_t readAt(std::int64_t position, std::uint8_t* data, std::int64_t size,
                      std::chrono::milliseconds stall);
  // Waits until at least `bytes` arrived or the download ended; false on timeout/cancel.
  bool waitFor(std::int64_t bytes, std::chrono::milliseconds timeout);

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::uint8_t> bytes_;
  std::int64_t total_ = -1;
  bool finished_ = false;
  bool failed_ = false;
  std::atomic<bool> cancelled_{false};
};

class DownloadSource final : public ByteSource {
 public:
  DownloadSource(std::shared_ptr<DownloadBuffer> buffer, std::chrono::milliseconds stall)
      : buffer_(std::move(buffer)), stall_(stall) {}
  std::int64_t read(std::uint8_t* data, std::int64_t size) override;
  bool seek(std::int64_t position) override;
  std::int64_t position() const override { return position_; }
  std::int64_t size() const override { return buffer_->total(); }
  bool isNetwork() const override { return true; }
  bool cancelled() const override { return buffer_->isCancelled(); }
  // Reads fail after this moment (bounds the wait of an open); none by default.
  void setDeadline(std::chrono::steady_clock::time_point deadline) { deadline_ = deadline; }
  void clearDeadline() { deadline_.reset(); }

 private:
  std::shared_ptr<DownloadBuffer> buffer_;
  std::chrono::milliseconds stall_;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  std::int64_t position_ = 0;
};

}  // namespace zelvo::audiolib
