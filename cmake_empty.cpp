// Keeps a window library valid while its folder has no windows yet.
