// The balloons windows live here.
