// The ROM scan.
