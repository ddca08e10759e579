// The setup windows live here.
