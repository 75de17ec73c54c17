/* The compiler's constants of the layers an audio block runs through
   (engine, plug-in object, VST 2 shell, platform), gathered on a page or two
   of their own instead of spread among the whole library's: a block starts
   with cold translation buffers, and each page it reads costs a walk. */
SECTIONS
{
  .rodata.audio_path ALIGN(4096) : {
    *libqb_engine.a:*(.rodata.cst4 .rodata.cst8 .rodata.cst16 .rodata.cst32)
    *libqb_plugin.a:*(.rodata.cst4 .rodata.cst8 .rodata.cst16 .rodata.cst32)
    *libqb_vst2.a:*(.rodata.cst4 .rodata.cst8 .rodata.cst16 .rodata.cst32)
    *libqb_platform.a:*(.rodata.cst4 .rodata.cst8 .rodata.cst16 .rodata.cst32)
  }
}
INSERT BEFORE .rodata;
