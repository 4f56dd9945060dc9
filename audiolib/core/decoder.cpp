// Decoding with libavformat/libavcodec/libswresample.
//
// Positions are sample-exact: a seek asks the demuxer for a point at or
// before the target (earlier still for lossy codecs, whose decoders need
// some frames to settle), reads the landing frame's timestamp, then decodes
// and drops samples up to the target. Timestamps are counted from the first
// frame of a fresh open, so encoder delay trimmed by FFmpeg is not counted.
#include "decoder.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace zelvo::audiolib {

namespace {

constexpr int kIoBufferSize = 32 * 1024;
constexpr int kMaxChannels = 8;
// Packets read without getting a frame before a stream counts as ended:
// keeps a file full of undecodable packets from spinning for long.
constexpr int kMaxPacketsWithoutFrame = 20000;

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool isLossless(const std::string& codec) {
  return startsWith(codec, "pcm_") || startsWith(codec, "adpcm_") || codec == "flac" || codec == "alac" ||
         codec == "ape" || codec == "wavpack" || codec == "tta" || codec == "wmalossless";
}

int readPacket(void* opaque, std::uint8_t* buffer, int size) {
  auto* source = static_cast<ByteSource*>(opaque);
  const std::int64_t n = source->read(buffer, size);
  if (n == 0) return AVERROR_EOF;
  if (n < 0) return AVERROR(EIO);
  return static_cast<int>(n);
}

std::int64_t seekPacket(void* opaque, std::int64_t offset, int whence) {
  auto* source = static_cast<ByteSource*>(opaque);
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
      return source->size() >= 0 ? source->size() : AVERROR(ENOSYS);
    case SEEK_SET:
      break;
    case SEEK_CUR:
      offset += source->position();
      break;
    case SEEK_END:
      if (source->size() < 0) return AVERROR(ENOSYS);
      offset += source->size();
      break;
    default:
      return AVERROR(EINVAL);
  }
  return source->seek(offset) ? offset : AVERROR(EIO);
}

int interrupted(void* opaque) { return static_cast<ByteSource*>(opaque)->cancelled() ? 1 : 0; }

}  // namespace

struct Decoder::Impl {
  std::unique_ptr<ByteSource> source;
  CodecFilter filter;
  Options options;

  AVIOContext* avio = nullptr;
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  SwrContext* swr = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  AVStream* stream = nullptr;
  int streamIndex = -1;
  const AVCodec* codecDecoder = nullptr;
  bool walkSeek = false;

  // Conversion input of the current swr context.
  int swrRate = 0;
  int swrFormat = -1;
  AVChannelLayout swrLayout{};

  std::string codecName;
  bool lossless = false;
  int outRate = 0;
  int outChannels = 0;
  AVChannelLayout outLayout{};

  std::vector<std::int16_t> pending;  // decoded, not yet read
  std::size_t pendingOffset = 0;      // in frames
  std::int64_t position = 0;          // frame index of pending[pendingOffset]
  std::int64_t originPts = AV_NOPTS_VALUE;
  bool demuxEnded = false;
  bool ended = false;
  std::int64_t length = -1;
  bool lengthExact = false;

  std::vector<std::string> metadata;
  std::string id3v1;

  ~Impl() { closeStreams(); }

  void closeStreams() {
    swr_free(&swr);
    av_channel_layout_uninit(&swrLayout);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    if (avio) {
      av_freep(&avio->buffer);
      avio_context_free(&avio);
    }
    av_packet_free(&packet);
    av_frame_free(&frame);
    stream = nullptr;
    streamIndex = -1;
  }

  std::int64_t pendingFrames() const {
    return outChannels ? static_cast<std::int64_t>(pending.size()) / outChannels - static_cast<std::int64_t>(pendingOffset)
                       : 0;
  }

  void readId3v1() {
    const std::int64_t size = source->size();
    if (source->isNetwork() || size < 128 || !source->seek(size - 128)) return;
    std::string block(128, '\0');
    if (source->read(reinterpret_cast<std::uint8_t*>(block.data()), 128) == 128 && block.compare(0, 3, "TAG") == 0)
      id3v1 = block;
  }

  OpenError openStreams() {
    source->seek(0);
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferSize));
    if (!packet || !frame || !buffer) {
      av_free(buffer);
      return OpenError::memory;
    }
    avio = avio_alloc_context(buffer, kIoBufferSize, 0, source.get(), readPacket, nullptr, seekPacket);
    if (!avio) {
      av_free(buffer);
      return OpenError::memory;
    }
    avio->seekable = source->isNetwork() ? 0 : AVIO_SEEKABLE_NORMAL;
    format = avformat_alloc_context();
    if (!format) return OpenError::memory;
    format->pb = avio;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    format->interrupt_callback = {interrupted, source.get()};
    if (source->isNetwork()) {
      format->probesize = 256 * 1024;
      format->max_analyze_duration = 2 * AV_TIME_BASE;
    }
    if (avformat_open_input(&format, "", nullptr, nullptr) < 0) {
      format = nullptr;  // freed by FFmpeg
      return source->cancelled() ? OpenError::timeout : OpenError::fileForm;
    }
    avformat_find_stream_info(format, nullptr);
    streamIndex = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (streamIndex < 0) return OpenError::fileForm;
    for (unsigned i = 0; i < format->nb_streams; ++i)
      if (static_cast<int>(i) != streamIndex) format->streams[i]->discard = AVDISCARD_ALL;
    stream = format->streams[streamIndex];
    const AVCodecID id = stream->codecpar->codec_id;
    if (id == AV_CODEC_ID_NONE) return OpenError::fileForm;
    codecName = avcodec_get_name(id);
    if (filter && !filter(codecName.c_str())) return OpenError::codec;
    const AVCodec* decoder = avcodec_find_decoder(id);
    if (!decoder) return OpenError::codec;
    codecDecoder = decoder;
    if (!openCodec()) return OpenError::codec;
    lossless = isLossless(codecName);
    // Raw streams without an index get their timestamps after a seek from
    // a bitrate estimate: they are sought by walking the packets instead.
    const std::string container = format->iformat->name;
    walkSeek = container == "ac3" || container == "eac3" || container == "aac" || container == "latm";
    return OpenError::none;
  }

  // A fresh decoder, as a new open has: a flushed one keeps state that makes
  // its first frames differ from ffmpeg's decode from the start.
  bool openCodec() {
    avcodec_free_context(&codec);
    codec = avcodec_alloc_context3(codecDecoder);
    if (!codec) return false;
    if (avcodec_parameters_to_context(codec, stream->codecpar) < 0) return false;
    codec->pkt_timebase = stream->time_base;
    return avcodec_open2(codec, codecDecoder, nullptr) >= 0;
  }

  // Decodes the next frame into `frame`; false at the end.
  bool nextFrame() {
    if (ended) return false;
    for (int packets = 0; packets < kMaxPacketsWithoutFrame; ++packets) {
      const int received = avcodec_receive_frame(codec, frame);
      if (received == 0) {
        if (frame->nb_samples > 0) return true;
        continue;
      }
      if (received == AVERROR_EOF) break;
      if (received != AVERROR(EAGAIN) && demuxEnded) break;
      if (demuxEnded) break;
      if (av_read_frame(format, packet) < 0) {
        demuxEnded = true;
        avcodec_send_packet(codec, nullptr);
        continue;
      }
      // A packet the decoder rejects is dropped, as ffmpeg itself does.
      if (packet->stream_index == streamIndex) avcodec_send_packet(codec, packet);
      av_packet_unref(packet);
    }
    ended = true;
    return false;
  }

  std::int64_t frameTimestamp() const {
    return frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp : frame->pts;
  }

  // The frame index of the decoded frame, from its timestamp; kNoIndex when it has none.
  std::int64_t frameIndex() const {
    const std::int64_t ts = frameTimestamp();
    if (ts == AV_NOPTS_VALUE || originPts == AV_NOPTS_VALUE) return kNoIndex;
    std::int64_t index = av_rescale_q(ts - originPts, stream->time_base, AVRational{1, outRate});
    // Timestamps coarser than a sample (ASF counts milliseconds) are snapped
    // to whole frames, which such codecs keep at a fixed size.
    if (av_q2d(stream->time_base) * outRate > 1.0 && frame->nb_samples > 0) {
      const std::int64_t n = frame->nb_samples;
      index = (index + n / 2) / n * n;
    }
    return index;
  }

  bool ensureConverter() {
    AVChannelLayout in{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels <= 0)
      av_channel_layout_default(&in, std::max(frame->ch_layout.nb_channels, 1));
    else
      av_channel_layout_copy(&in, &frame->ch_layout);
    const bool same = swr && swrRate == frame->sample_rate && swrFormat == frame->format &&
                      av_channel_layout_compare(&swrLayout, &in) == 0;
    if (same) {
      av_channel_layout_uninit(&in);
      return true;
    }
    swr_free(&swr);
    av_channel_layout_uninit(&swrLayout);
    if (swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, outRate, &in,
                            static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr) < 0 ||
        swr_init(swr) < 0) {
      swr_free(&swr);
      av_channel_layout_uninit(&in);
      return false;
    }
    swrLayout = in;
    swrRate = frame->sample_rate;
    swrFormat = frame->format;
    return true;
  }

  // Appends the decoded frame to pending as interleaved 16-bit samples.
  void convertFrame() {
    if (frame->sample_rate <= 0 || frame->ch_layout.nb_channels <= 0 || frame->ch_layout.nb_channels > 64 ||
        !ensureConverter())
      return;
    const int room = swr_get_out_samples(swr, frame->nb_samples);
    if (room <= 0) return;
    const std::size_t start = pending.size();
    pending.resize(start + static_cast<std::size_t>(room) * outChannels);
    auto* out = reinterpret_cast<std::uint8_t*>(pending.data() + start);
    const int got = swr_convert(swr, &out, room, const_cast<const std::uint8_t**>(frame->extended_data),
                                frame->nb_samples);
    pending.resize(start + static_cast<std::size_t>(std::max(got, 0)) * outChannels);
  }

  void dropPending() {
    pending.clear();
    pendingOffset = 0;
  }

  // Decodes one more frame onto pending; false at the end.
  bool decodeMore() {
    if (!nextFrame()) return false;
    convertFrame();
    return true;
  }

  void compactPending() {
    if (pendingOffset == 0) return;
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(pendingOffset * outChannels));
    pendingOffset = 0;
  }

  // Decodes and drops samples until position == target; false at the end first.
  bool skipTo(std::int64_t target) {
    while (position + pendingFrames() <= target) {
      position += pendingFrames();
      dropPending();
      if (!decodeMore()) return false;
    }
    pendingOffset += static_cast<std::size_t>(target - position);
    position = target;
    return true;
  }

  bool resetDecoding() {
    if (!openCodec()) return false;
    swr_free(&swr);
    av_channel_layout_uninit(&swrLayout);
    dropPending();
    demuxEnded = false;
    ended = false;
    return true;
  }

  static constexpr std::int64_t kNoIndex = INT64_MIN;

  // Asks the demuxer for a point at or before `target` and decodes the
  // frame found there; returns its index (before frame 0 near the start),
  // kNoIndex when that did not work.
  std::int64_t land(std::int64_t target) {
    if (originPts == AV_NOPTS_VALUE) return kNoIndex;
    const std::int64_t ts = originPts + av_rescale_q(target, AVRational{1, outRate}, stream->time_base);
    if (av_seek_frame(format, streamIndex, ts, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(format, streamIndex, INT64_MIN, ts, ts, 0) < 0)
      return kNoIndex;
    if (!resetDecoding() || !nextFrame()) return kNoIndex;
    const std::int64_t index = frameIndex();
    if (index == kNoIndex) return kNoIndex;
    convertFrame();
    position = index;
    return index;
  }

  // Back to frame 0 through the demuxer, or by opening the source again.
  bool rewind() {
    // Lossy decoders need the packets before frame 0 too (AAC's priming
    // frame): ask for a point before the start and drop what comes first.
    const std::int64_t landed = land(lossless ? 0 : -outRate / 2);
    if (landed != kNoIndex && landed <= 0 && skipTo(0)) return true;
    closeStreams();
    resetState();
    return openStreams() == OpenError::none && decodeFirstFrame() == OpenError::none;
  }

  void resetState() {
    dropPending();
    position = 0;
    demuxEnded = false;
    ended = false;
  }

  OpenError decodeFirstFrame() {
    if (!nextFrame()) return OpenError::decode;
    if (outRate == 0) {
      outRate = frame->sample_rate;
      outChannels = frame->ch_layout.nb_channels;
      if (outRate < 1000 || outRate > 384000 || outChannels < 1 || outChannels > kMaxChannels)
        return OpenError::format;
      if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&outLayout, outChannels);
      else
        av_channel_layout_copy(&outLayout, &frame->ch_layout);
    }
    originPts = frameTimestamp();
    convertFrame();
    position = 0;
    return OpenError::none;
  }

  std::int64_t estimatedLength() const {
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
      return av_rescale_q(stream->duration, stream->time_base, AVRational{1, outRate});
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
      return av_rescale_q(format->duration, AV_TIME_BASE_Q, AVRational{1, outRate});
    return -1;
  }

  // Decodes from the current position to the end and returns the frame count.
  std::int64_t countToEnd() {
    std::int64_t count = position + pendingFrames();
    dropPending();
    while (decodeMore()) {
      count += pendingFrames();
      dropPending();
    }
    return count;
  }

  // The real decoded length: decode the last seconds from a point whose
  // index the demuxer tells, or the whole stream when it cannot.
  void measureLength() {
    const std::int64_t estimate = estimatedLength();
    std::int64_t measured = -1;
    if (walkSeek && estimate > 0) {
      if (walkTo(std::max<std::int64_t>(estimate - 3LL * outRate, 0)))
        measured = countToEnd();
      else if (ended)
        measured = position;
    } else if (estimate > 0) {
      const std::int64_t from = std::max<std::int64_t>(estimate - 3LL * outRate, 0);
      const std::int64_t index = from > 0 ? land(from) : kNoIndex;
      if (index != kNoIndex && index > 0 && index <= estimate) measured = countToEnd();
    }
    if (measured < 0) {
      if (!rewind()) return;
      measured = countToEnd();
    }
    length = measured;
    lengthExact = true;
    rewind();
  }

  void collectMetadata() {
    auto add = [&](AVDictionary* dictionary) {
      const AVDictionaryEntry* entry = nullptr;
      while ((entry = av_dict_get(dictionary, "", entry, AV_DICT_IGNORE_SUFFIX)))
        metadata.push_back(std::string(entry->key) + "=" + entry->value);
    };
    add(format->metadata);
    add(stream->metadata);
  }

  // From the start, counts packet durations without decoding up to a
  // point before target, then decodes from there.
  bool walkTo(std::int64_t target) {
    const std::int64_t from = target - outRate / 2;
    if (from <= 0) return rewind() && skipTo(target);
    if (av_seek_frame(format, streamIndex, originPts, AVSEEK_FLAG_BACKWARD) < 0 || !resetDecoding()) return false;
    std::int64_t counted = 0;
    while (true) {
      if (av_read_frame(format, packet) < 0) return false;
      if (packet->stream_index != streamIndex) {
        av_packet_unref(packet);
        continue;
      }
      const std::int64_t frames = av_rescale_q(packet->duration, stream->time_base, AVRational{1, outRate});
      if (frames <= 0) {
        av_packet_unref(packet);
        return rewind() && skipTo(target);
      }
      if (counted + frames > from) break;
      counted += frames;
      av_packet_unref(packet);
    }
    avcodec_send_packet(codec, packet);
    av_packet_unref(packet);
    position = counted;
    return skipTo(target);
  }

  bool seek(std::int64_t target) {
    if (target < 0 || (length >= 0 && target > length)) return false;
    if (target == position) return true;
    // Short steps forward are cheaper decoded than sought.
    if (target > position && target - position < outRate / 2) return skipTo(target);
    if (walkSeek) return walkTo(target);
    std::int64_t preroll = lossless ? 0 : outRate / 2;
    for (int attempt = 0; attempt < 3; ++attempt) {
      const std::int64_t from = target - preroll;
      if (from <= 0) break;
      const std::int64_t index = land(from);
      if (index != kNoIndex && index <= target) return skipTo(target);
      preroll = preroll * 4 + outRate;
    }
    return rewind() && skipTo(target);
  }

  std::int64_t read(std::int16_t* out, std::int64_t frames) {
    std::int64_t done = 0;
    while (done < frames) {
      if (pendingFrames() == 0) {
        dropPending();
        if (!decodeMore()) {
          if (!lengthExact || length < position) {
            length = position;
            lengthExact = true;
          }
          break;
        }
        continue;
      }
      const std::int64_t n = std::min(frames - done, pendingFrames());
      std::memcpy(out + done * outChannels, pending.data() + pendingOffset * outChannels,
                  static_cast<std::size_t>(n * outChannels) * sizeof(std::int16_t));
      pendingOffset += static_cast<std::size_t>(n);
      position += n;
      done += n;
    }
    if (pendingOffset > 65536) compactPending();
    return done;
  }
};

std::unique_ptr<Decoder> Decoder::open(std::unique_ptr<ByteSource> source, const CodecFilter& filter,
                                       const Options& options, OpenError* error) {
  OpenError ignored;
  OpenError& result = error ? *error : ignored;
  auto impl = std::make_unique<Impl>();
  impl->source = std::move(source);
  impl->filter = filter;
  impl->options = options;
  impl->readId3v1();
  result = impl->openStreams();
  if (result != OpenError::none) return nullptr;
  result = impl->decodeFirstFrame();
  if (result != OpenError::none) return nullptr;
  impl->collectMetadata();
  impl->length = impl->estimatedLength();
  if (options.exactLength && !impl->source->isNetwork()) impl->measureLength();
  if (impl->position != 0) {
    result = OpenError::decode;
    return nullptr;
  }
  return std::unique_ptr<Decoder>(new Decoder(std::move(impl)));
}

Decoder::Decoder(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Decoder::~Decoder() = default;

int Decoder::sampleRate() const { return impl_->outRate; }
int Decoder::channels() const { return impl_->outChannels; }
std::int64_t Decoder::lengthFrames() const { return impl_->length; }
std::int64_t Decoder::positionFrames() const { return impl_->position; }
bool Decoder::atEnd() const { return impl_->ended && impl_->pendingFrames() == 0; }
const std::string& Decoder::codecName() const { return impl_->codecName; }
std::int64_t Decoder::read(std::int16_t* out, std::int64_t frames) { return impl_->read(out, frames); }
bool Decoder::seek(std::int64_t frame) { return impl_->seek(frame); }
const std::vector<std::string>& Decoder::metadata() const { return impl_->metadata; }
const std::string& Decoder::id3v1() const { return impl_->id3v1; }
ByteSource& Decoder::source() { return *impl_->source; }

void quietFfmpegLog() { av_log_set_level(AV_LOG_QUIET); }

}  // namespace zelvo::audiolib
