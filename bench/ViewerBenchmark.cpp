// Quick Viewer benchmarks: list refresh and graph drawing.
