// Filled in by the setup-block work.
