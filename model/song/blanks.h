#pragma once
// The shared empty cells the engine, the writer and the editor read where a
// pattern holds nothing: a subrow in its empty state, and a track of 64 rows
// with no row objects (the blank row is TesselRow::blank()).

#include "model/song/track.h"

constexpr int kGridBeat = 4;
constexpr int kGridBar = kGridBeat * 4;
constexpr int kGridChannels = kGridBar * 4;

const TesselSubrow& blankSubrow();
const TesselTrack& blankTrack();
