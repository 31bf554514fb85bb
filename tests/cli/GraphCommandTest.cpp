// tavo-cli Graph tests.
