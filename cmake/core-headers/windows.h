#error "The core of Varnex includes no Windows header: put this code under src/forms, src/frontend or src/platform/win32."
