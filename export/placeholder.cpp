// placeholder until the folder's code lands
