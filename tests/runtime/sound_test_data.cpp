#include "tests/runtime/sound_test_data.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdlib>

namespace quorin::test {

void PutU16(Bytes& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void PutU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

void PutChunk(Bytes& out, const std::string& tag, const Bytes& body) {
  out.insert(out.end(), tag.begin(), tag.end());
  PutU32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
}

Bytes WaveFmtBody(int channels, int rate, int bits) {
  Bytes fmt;
  const int align = channels * bits / 8;
  PutU16(fmt, 1);
  PutU16(fmt, static_cast<unsigned>(channels));
  PutU32(fmt, static_cast<std::uint32_t>(rate));
  PutU32(fmt, static_cast<std::uint32_t>(rate * align));
  PutU16(fmt, static_cast<unsigned>(align));
  PutU16(fmt, static_cast<unsigned>(bits));
  return fmt;
}

Bytes Riff(const std::vector<std::pair<std::string, Bytes>>& chunks) {
  Bytes body;
  for (const auto& [tag, chunk] : chunks) PutChunk(body, tag, chunk);
  Bytes out{'R', 'I', 'F', 'F'};
  PutU32(out, static_cast<std::uint32_t>(body.size() + 4));
  out.insert(out.end(), {'W', 'A', 'V', 'E'});
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes Wave16(int channels, int rate, const std::vector<std::int16_t>& samples) {
  Bytes data;
  for (std::int16_t s : samples) PutU16(data, static_cast<std::uint16_t>(s));
  return Riff({{"fmt ", WaveFmtBody(channels, rate, 16)}, {"data", data}});
}

Bytes EncodeOggVorbis(int channels, int rate, long frames) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, 0.1f) != 0) std::abort();
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);

  Bytes out;
  ogg_page page;
  auto putPage = [&out](const ogg_page& p) {
    out.insert(out.end(), p.header, p.header + p.header_len);
    out.insert(out.end(), p.body, p.body + p.body_len);
  };
  ogg_packet header, commentPacket, codebooks;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebooks);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentPacket);
  ogg_stream_packetin(&stream, &codebooks);
  while (ogg_stream_flush(&stream, &page) != 0) putPage(page);

  constexpr long kChunk = 4096;
  long written = 0;
  bool ended = false;
  while (!ended) {
    const long count = std::min(kChunk, frames - written);
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (long i = 0; i < count; ++i) {
        const float v = 0.25f * std::sin(static_cast<float>(written + i) * 0.05f);
        for (int c = 0; c < channels; ++c) buffer[c][i] = v;
      }
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
      written += count;
    } else {
      vorbis_analysis_wrote(&dsp, 0);
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          putPage(page);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
  }

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

}  // namespace quorin::test
