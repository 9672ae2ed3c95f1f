año periodo de doce meses
años pl año
