#include "runtime/sound_decode.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quorin {
namespace {

std::uint32_t ReadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t ReadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

bool TagIs(const std::uint8_t* p, const char* tag) {
  return std::memcmp(p, tag, 4) == 0;
}

// Offset of the fmt chunk's body, where the wave format starts.
constexpr std::size_t kWaveFormatOffset = 20;
// Bytes of the fmt body we read: tag, channels, rate, byte rate, align, bits.
constexpr std::size_t kWaveFormatBytes = 16;

int SeekCallback(void* stream, ogg_int64_t offset, int whence) {
  return MemoryStreamSeek(stream, static_cast<std::int64_t>(offset), whence);
}

}  // namespace

bool IsRiff(const std::uint8_t* data, std::size_t size) {
  return size >= 4 && TagIs(data, "RIFF");
}

bool DecodeWave(const std::uint8_t* data, std::size_t size, DecodedSound& out) {
  if (size < kWaveFormatOffset || !TagIs(data + 12, "fmt ")) return false;
  const std::uint64_t fmtSize = ReadU32(data + 16);
  // A fmt chunk too short to hold a format, or running off the data, tells us nothing.
  if (fmtSize < kWaveFormatBytes || kWaveFormatOffset + kWaveFormatBytes > size) return false;
  const std::uint8_t* fmt = data + kWaveFormatOffset;
  WaveFormat format;
  format.formatTag = ReadU16(fmt);
  format.channels = ReadU16(fmt + 2);
  format.rate = static_cast<int>(std::min<std::uint32_t>(ReadU32(fmt + 4), 0x7FFFFFFF));
  format.byteRate = static_cast<int>(std::min<std::uint32_t>(ReadU32(fmt + 8), 0x7FFFFFFF));
  format.blockAlign = ReadU16(fmt + 12);
  format.bitsPerSample = ReadU16(fmt + 14);

  std::uint64_t at = kWaveFormatOffset + fmtSize;
  while (at + 8 <= size) {
    const std::uint64_t chunkSize = ReadU32(data + at + 4);
    if (TagIs(data + at, "data")) {
      // A data chunk that claims more than the file holds keeps what is there.
      const std::uint64_t body = at + 8;
      const std::uint64_t length = std::min<std::uint64_t>(chunkSize, size - body);
      out.format = format;
      out.bytes.assign(data + body, data + body + length);
      return true;
    }
    at += 8 + chunkSize;
  }
  return false;
}

std::size_t MemoryStreamRead(void* destination, std::size_t itemSize, std::size_t items, void* stream) {
  auto& s = *static_cast<MemoryStream*>(stream);
  if (itemSize == 0 || items == 0 || s.position >= s.size) return 0;
  const std::size_t left = s.size - s.position;
  const std::size_t count = std::min(items, left / itemSize);
  std::memcpy(destination, s.data + s.position, count * itemSize);
  s.position += count * itemSize;
  return count;
}

int MemoryStreamSeek(void* stream, std::int64_t offset, int whence) {
  auto& s = *static_cast<MemoryStream*>(stream);
  std::int64_t base = 0;
  if (whence == SEEK_CUR) {
    base = static_cast<std::int64_t>(s.position);
  } else if (whence == SEEK_END) {
    base = static_cast<std::int64_t>(s.size);
  } else if (whence != SEEK_SET) {
    return -1;
  }
  const std::int64_t target = base + offset;
  if (target < 0 || target > static_cast<std::int64_t>(s.size)) return -1;
  s.position = static_cast<std::size_t>(target);
  return 0;
}

long MemoryStreamTell(void* stream) {
  return static_cast<long>(static_cast<MemoryStream*>(stream)->position);
}

int MemoryStreamClose(void* stream) {
  static_cast<MemoryStream*>(stream)->position = 0;
  return 0;
}

bool DecodeOggVorbis(const std::uint8_t* data, std::size_t size, DecodedSound& out) {
  MemoryStream stream{data, size, 0};
  const ov_callbacks callbacks{MemoryStreamRead, SeekCallback, MemoryStreamClose, MemoryStreamTell};
  OggVorbis_File file;
  // On failure the library has already released what it took.
  if (ov_open_callbacks(&stream, &file, nullptr, 0, callbacks) != 0) return false;

  const vorbis_info* info = ov_info(&file, -1);
  const ogg_int64_t total = ov_pcm_total(&file, -1);
  if (info == nullptr || info->channels <= 0 || info->rate <= 0 || total < 0) {
    ov_clear(&file);
    return false;
  }
  const std::uint64_t wanted =
      static_cast<std::uint64_t>(info->channels) * static_cast<std::uint64_t>(total) * 2;
  const std::size_t bytes = static_cast<std::size_t>(std::min<std::uint64_t>(wanted, kSoundMaxBytes));

  out.format.formatTag = kWaveFormatPcm;
  out.format.channels = info->channels;
  out.format.rate = static_cast<int>(info->rate);
  out.format.bitsPerSample = 16;
  out.format.blockAlign = info->channels * 2;
  out.format.byteRate = static_cast<int>(info->channels * info->rate * 2);
  // A stream that delivers less than it announced leaves silence behind.
  out.bytes.assign(bytes, 0);

  std::size_t done = 0;
  int section = 0;
  while (done < bytes) {
    const int piece = static_cast<int>(std::min(kSoundDecodePiece, bytes - done));
    const long got =
        ov_read(&file, reinterpret_cast<char*>(out.bytes.data() + done), piece, 0, 2, 1, &section);
    if (got > 0) {
      done += static_cast<std::size_t>(got);
    } else if (got == 0) {
      break;
    } else if (got != OV_HOLE) {
      // A hole is a gap in the stream and decoding goes on after it; anything
      // else would fail again on every call.
      break;
    }
  }
  ov_clear(&file);
  return true;
}

bool PcmFromDecoded(const DecodedSound& sound, PcmData& out) {
  const WaveFormat& f = sound.format;
  if (f.formatTag != kWaveFormatPcm || f.channels <= 0 || f.rate <= 0) return false;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
  const std::size_t bytesPerSample = static_cast<std::size_t>(f.bitsPerSample / 8);
  const std::size_t frames = sound.bytes.size() / (bytesPerSample * f.channels);
  if (frames == 0) return false;
  const std::size_t count = frames * f.channels;
  out.samples.resize(count);
  const std::uint8_t* p = sound.bytes.data();
  if (bytesPerSample == 2) {
    for (std::size_t i = 0; i < count; ++i) out.samples[i] = static_cast<std::int16_t>(ReadU16(p + 2 * i));
  } else {
    // 8-bit WAVE samples are unsigned around 128.
    for (std::size_t i = 0; i < count; ++i) out.samples[i] = static_cast<std::int16_t>((p[i] - 128) * 256);
  }
  out.channels = f.channels;
  out.rate = f.rate;
  out.frames = frames;
  return true;
}

}  // namespace quorin
