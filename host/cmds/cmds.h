// The host's own drawing commands (LINE, ARC, PLINE, CIRCLE, TEXT, INSERT, ERASE, MOVE, COPY,
// FILLET, OFFSET, TRIM, EXTEND, ROTATE, SCALE, MIRROR, EXPLODE, DIST, AREA, ZOOM, PAN, LAYER, SAVE,
// SAVEAS, RENDER, AUDIT, LIST), registered with the editor's command stack.
#pragma once

#include <string>

namespace vorn::cmds {

// Registers every command of the group "ACAD_HOST"; calling it again does nothing.
void RegisterHostCommands();

// The file SAVE writes to without asking: the drawing the program opened, or the last file
// saved with SAVE or SAVEAS. Empty: SAVE asks for a name.
void SetDrawingFileName(const std::wstring& path);
const std::wstring& DrawingFileName();

// Each area registers its own commands.
void RegisterFilletCommand();
void RegisterDrawCommands();
void RegisterEditCommands();
void RegisterFileCommands();
void RegisterViewCommands();
void RegisterModifyCommands();   // ROTATE, SCALE, MIRROR, EXPLODE
void RegisterOffsetCommand();
void RegisterTrimCommands();     // TRIM, EXTEND
void RegisterInquiryCommands();  // DIST, AREA

// Whether the drawing changed since it was opened, created or last saved.
bool DrawingModified();
// The drawing as it stands now counts as saved (after opening it or saving it elsewhere).
void MarkDrawingSaved();

}  // namespace vorn::cmds
