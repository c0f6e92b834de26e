#pragma once

// Registers the factory of every creatable drawing-object class in the class
// table. Called once at start-up (and by tools and tests) before the first
// document is read; calling it again is harmless.
void RegisterObjectFactories();
