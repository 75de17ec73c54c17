#pragma once
// Bitmaps and the bitmap font class whose objects the load-time font
// pointers own; empty until the toolkit draws.

class CBitmap {
public:
    virtual ~CBitmap() = default;
};

class TesselFont : public CBitmap {
public:
    ~TesselFont() override = default;
};

// The memory drawing context the shared page offscreen pointer owns.
class COffscreenContext {
public:
    virtual ~COffscreenContext() = default;
};
