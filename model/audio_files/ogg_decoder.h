#pragma once
// Decodes an Ogg Vorbis file into a 32-bit IEEE float WAV image in memory,
// which the WAV reader then reads.

#include "model/audio_files/memory_file.h"

#include <string>

class VorbisDecoder {
public:
    VorbisDecoder() = default;
    virtual ~VorbisDecoder() = default;
    VorbisDecoder(const VorbisDecoder&) = delete;
    VorbisDecoder& operator=(const VorbisDecoder&) = delete;

    // True when the image holds the WAV, positioned at its start; on failure
    // the image is freed. Only mono and stereo streams are decoded.
    virtual bool decodeFile(const std::string& path);

    TesselMemoryFile& image() { return image_; }

protected:
    TesselMemoryFile image_;
};
