#pragma once
// Diagnostics of the skin engine for runs without a screen (tests of the whole
// program): with TESSAVIK_TRACE=1 each window whose skinning has started is
// written to standard error as "skinned <name>", and how each form's window
// first reached the screen ("mapped <name> frameless|framed", "painted <name>
// skinned|plain"); TESSAVIK_SKIN_OFF_AFTER=<ms>
// switches the skin off after that long, as the skin chooser's "Vypnout" does.

class TSkinData;

void InstallSkinTrace(TSkinData* skin);
// "skinforms <n>": the windows still skinned when the program ends.
void ReportSkinTrace();
