#pragma once
// Walking the sample numbers of a key map when an instrument moves between
// songs with its samples.

#include "model/sample/sample.h"

#include <array>
#include <functional>

class TesselKeymap;

// Gives every key, from note 0 upward, its new sample numbers: first the
// row's (rows created when missing; only numbers above 0), then its regions'.
// `renumber` answers the new number; 0 clears a row's number and removes a
// region, so that nothing is left naming an unrelated sample.
using TesselSampleRenumber = std::function<int(int number)>;
void renumberKeymapSamples(TesselKeymap& keymap, const TesselSampleRenumber& renumber);

// The first slot at or after `from` that counts as empty, or -1.
int findFreeSample(const std::array<TesselSample, kSamples>& samples, int from);
