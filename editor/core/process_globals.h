#pragma once
// Every value the process keeps, one part per layer. A layer reaches its own
// part (modelGlobals(), engineGlobals(), shellGlobals(), servicesGlobals(),
// guiGlobals(), pageGlobals(), pluginGlobals()) and those below it, never one
// above; this whole lives in the editor layer, the one that reaches them all.
// The library builds them all when it loads, lowest layer first, so none is
// made halfway through a call on the audio thread, and a test puts them all
// back to that state with one reset().

struct TesselModelGlobals;
struct TesselEngineGlobals;
struct TesselShellGlobals;
struct TesselGuiGlobals;
struct TesselPageGlobals;
struct TesselPluginGlobals;
namespace services {
struct ServicesGlobals;
}

struct TesselProcessGlobals {
    TesselModelGlobals& model;
    TesselEngineGlobals& engine;
    TesselShellGlobals& shell;
    services::ServicesGlobals& services;
    TesselGuiGlobals& gui;
    TesselPageGlobals& pages;
    TesselPluginGlobals& plugin;

    // With no plug-in or editor alive.
    void reset();
};

TesselProcessGlobals& processGlobals();
