// placeholder so the library has a source until its files land
