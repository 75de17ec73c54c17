#pragma once
// Results of a module import.

enum : int { kImportUnreadable = 0, kImportHeaderMissing = 1, kImportLoaded = 2 };
