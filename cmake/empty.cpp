// Keeps an otherwise empty static library buildable.
