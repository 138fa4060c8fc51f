// Start-up of the framework: its entity classes known to the class factory (so drawings that
// hold them load back as them) and its host command SYMBELEV registered. The program calls it
// once before it loads or runs anything; later calls do nothing.
#pragma once

void KyFrameworkInit();
// Only the entity classes (for programs and tests without an editor).
void KyRegisterFrameworkClasses();
// SYMBELEV: an elevation mark at a point with an elevation text and 2 or 3 decimals.
void KyRegisterFrameworkCommands();
