#include "tools/soundgen/codec.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quorin::soundgen {
namespace {

constexpr int kEncodeChunk = 1024;
constexpr std::size_t kWaveHeaderBytes = 44;
constexpr int kPcmBits = 16;
constexpr float kFullScale = 32767.0f;

void AppendPage(Bytes& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<unsigned char>(v & 0xFF));
  out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutTag(Bytes& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

std::uint32_t Get16(std::span<const unsigned char> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}

std::uint32_t Get32(std::span<const unsigned char> b, std::size_t at) {
  return Get16(b, at) | (Get16(b, at + 2) << 16);
}

bool TagIs(std::span<const unsigned char> b, std::size_t at, const char* tag) {
  return std::memcmp(b.data() + at, tag, 4) == 0;
}

// vorbisfile reads through these so the stream can live in memory.
struct MemoryReader {
  std::span<const unsigned char> bytes;
  std::size_t pos = 0;
};

std::size_t ReadMemory(void* dst, std::size_t size, std::size_t count, void* source) {
  auto* r = static_cast<MemoryReader*>(source);
  if (size == 0) return 0;
  const std::size_t n = std::min(count, (r->bytes.size() - r->pos) / size);
  if (n == 0) return 0;  // also keeps an empty stream's null pointer away from memcpy
  std::memcpy(dst, r->bytes.data() + r->pos, n * size);
  r->pos += n * size;
  return n;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
  auto* r = static_cast<MemoryReader*>(source);
  ogg_int64_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(r->pos);
  if (whence == SEEK_END) base = static_cast<ogg_int64_t>(r->bytes.size());
  const ogg_int64_t target = base + offset;
  if (target < 0 || target > static_cast<ogg_int64_t>(r->bytes.size())) return -1;
  r->pos = static_cast<std::size_t>(target);
  return 0;
}

long TellMemory(void* source) {
  return static_cast<long>(static_cast<MemoryReader*>(source)->pos);
}

}  // namespace

std::vector<std::int16_t> ToPcm16(const Signal& signal) {
  std::vector<std::int16_t> out(signal.size());
  for (std::size_t i = 0; i < signal.size(); ++i) {
    const float v = std::clamp(signal[i] * kFullScale, -kFullScale, kFullScale);
    out[i] = static_cast<std::int16_t>(std::lround(v));
  }
  return out;
}

Bytes EncodeVorbis(const Signal& signal, float quality, int serial) {
  Bytes out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 1, kSampleRate, quality) != 0) {
    vorbis_info_clear(&vi);
    return out;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, serial);

  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  // The headers end on a page of their own, as players expect.
  while (ogg_stream_flush(&os, &page) != 0) AppendPage(out, page);

  std::size_t pos = 0;
  bool finished = false;
  while (!finished) {
    const std::size_t n = std::min<std::size_t>(kEncodeChunk, signal.size() - pos);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);  // marks the end; the loop below drains the rest
      finished = true;
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      std::copy_n(signal.begin() + static_cast<std::ptrdiff_t>(pos), n, buffer[0]);
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      pos += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet) == 1) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page) != 0) AppendPage(out, page);
      }
    }
  }

  while (ogg_stream_flush(&os, &page) != 0) AppendPage(out, page);
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

Bytes EncodeWave(const std::vector<std::int16_t>& samples) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  constexpr std::uint32_t kFmtBytes = 16;
  constexpr std::uint32_t kPcmFormat = 1;
  constexpr std::uint32_t kBlockAlign = kPcmBits / 8;
  Bytes out;
  out.reserve(kWaveHeaderBytes + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, static_cast<std::uint32_t>(kWaveHeaderBytes) - 8 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, kFmtBytes);
  Put16(out, kPcmFormat);
  Put16(out, 1);  // mono
  Put32(out, kSampleRate);
  Put32(out, kSampleRate * kBlockAlign);
  Put16(out, kBlockAlign);
  Put16(out, kPcmBits);
  PutTag(out, "data");
  Put32(out, dataBytes);
  for (std::int16_t s : samples) Put16(out, static_cast<std::uint16_t>(s));
  return out;
}

DecodedSound DecodeVorbis(std::span<const unsigned char> bytes) {
  DecodedSound result;
  MemoryReader reader{bytes, 0};
  const ov_callbacks callbacks = {ReadMemory, SeekMemory, nullptr, TellMemory};
  OggVorbis_File file;
  if (ov_open_callbacks(&reader, &file, nullptr, 0, callbacks) != 0) return result;
  const vorbis_info* info = ov_info(&file, -1);
  result.channels = info->channels;
  result.rate = static_cast<int>(info->rate);
  char buffer[4096];
  int section = 0;
  for (;;) {
    const long n = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section);
    if (n < 0) {
      ov_clear(&file);
      return result;
    }
    if (n == 0) break;
    const std::size_t old = result.samples.size();
    result.samples.resize(old + static_cast<std::size_t>(n) / 2);
    std::memcpy(result.samples.data() + old, buffer, static_cast<std::size_t>(n));
  }
  ov_clear(&file);
  result.ok = true;
  return result;
}

DecodedSound DecodeWave(std::span<const unsigned char> bytes) {
  DecodedSound result;
  if (bytes.size() < 12 || !TagIs(bytes, 0, "RIFF") || !TagIs(bytes, 8, "WAVE")) return result;
  bool haveFormat = false;
  std::size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const std::size_t size = Get32(bytes, at + 4);
    const std::size_t body = at + 8;
    if (size > bytes.size() - body) return result;
    if (TagIs(bytes, at, "fmt ") && size >= 16) {
      if (Get16(bytes, body) != 1 || Get16(bytes, body + 14) != kPcmBits) return result;
      result.channels = static_cast<int>(Get16(bytes, body + 2));
      result.rate = static_cast<int>(Get32(bytes, body + 4));
      haveFormat = true;
    } else if (TagIs(bytes, at, "data") && haveFormat) {
      result.samples.resize(size / 2);
      for (std::size_t i = 0; i < result.samples.size(); ++i) {
        result.samples[i] = static_cast<std::int16_t>(Get16(bytes, body + 2 * i));
      }
      result.ok = true;
      return result;
    }
    at = body + size + (size & 1);  // chunks are padded to even sizes
  }
  return result;
}

}  // namespace quorin::soundgen
